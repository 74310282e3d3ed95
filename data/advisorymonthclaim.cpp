#include "advisorymonthclaim.h"

#include "dberror.h"
#include "filemark.h"
#include "monthkey.h"
#include "postgresengine.h"

#include <libpq-fe.h>
#include <utility>

AdvisoryMonthClaim::~AdvisoryMonthClaim() {
    try {
        release();
    } catch (const DbError &) {
        // A lost connection has dropped the lock with it.
    }
}

bool AdvisoryMonthClaim::claim(const QString &month) {
    if (!isMonthKeyInRange(month))
        throw DbError(QStringLiteral("'%1' is not a month key").arg(month));
    // A connection made anew forgets the claim the lost one held.
    m_engine.handle();
    if (month == m_held)
        return true;
    release();
    if (!lockCall("pg_try_advisory_lock", month))
        return false;
    m_held = month;
    return true;
}

void AdvisoryMonthClaim::release() {
    if (m_held.isEmpty())
        return;
    const QString held = std::exchange(m_held, QString());
    if (!m_engine.isConnected())
        return;
    lockCall("pg_advisory_unlock", held);
}

bool AdvisoryMonthClaim::lockCall(const char *function, const QString &month) {
    const QByteArray mark = QByteArray::number(payrollFileMark);
    const QByteArray key = month.toLatin1();
    const char *values[] = {mark.constData(), key.constData()};
    const QByteArray sql = QByteArray("select ") + function + "($1::integer, $2::integer)";
    pg_conn *connection = m_engine.handle();
    const ServerResult result =
        awaitAnswer(connection, PQsendQueryParams(connection, sql.constData(), 2, nullptr, values,
                                                  nullptr, nullptr, 0));
    result.checked();
    return PQntuples(result.get()) == 1 && PQgetvalue(result.get(), 0, 0)[0] == 't';
}
