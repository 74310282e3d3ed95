#include "monthclose.h"

#include "audittrail.h"
#include "connection.h"
#include "dberror.h"
#include "monthclaim.h"
#include "monthkey.h"
#include "query.h"
#include "transaction.h"

#include <QScopeGuard>

namespace {

void runOnMonth(Connection &connection, const QString &sql, const QString &month) {
    Query statement(connection);
    statement.addLine(sql);
    statement.param(QStringLiteral("ny")).setText(month);
    statement.execSql();
}

} // namespace

bool isMonthClosed(Connection &connection, const QString &month) {
    Query closed(connection);
    closed.addLine(QStringLiteral("select count(*) as n from GZJZ where ny=:ny"));
    closed.param(QStringLiteral("ny")).setText(month);
    closed.open();
    return closed.field(QStringLiteral("n")).asInteger() > 0;
}

QString closedMonthMessage(const QString &month) {
    return QStringLiteral("%1已结账，其工资不能再更改；如确需更改，请先反结账。")
        .arg(monthCaption(month));
}

void requireMonthOpen(Connection &connection, const QString &month) {
    if (isMonthClosed(connection, month))
        throw DbError(closedMonthMessage(month));
}

MonthClosing closeMonth(Connection &connection, const QString &month) {
    if (!isMonthKeyInRange(month))
        throw DbError(QStringLiteral("'%1' is not a month key").arg(month));
    MonthClaim &claim = connection.monthClaim();
    if (!claim.claim(month))
        return MonthClosing::HeldElsewhere;
    const auto unclaim = qScopeGuard([&claim]() noexcept {
        try {
            claim.release();
        } catch (const DbError &) {
            // A lost connection has dropped the claim with it.
        }
    });
    Transaction transaction(connection);
    if (isMonthClosed(connection, month))
        return MonthClosing::AlreadyClosed;
    const MonthFigures figures = monthFigures(connection, month);
    if (figures.rows == 0)
        return MonthClosing::NotSaved;
    runOnMonth(connection, QStringLiteral("insert into GZJZ (ny) values (:ny)"), month);
    AuditTrail::record(connection, {.month = month,
                                    .action = AuditTrail::Action::Close,
                                    .before = figures,
                                    .after = figures,
                                    .file = {},
                                    .sha256 = {},
                                    .reason = {}});
    transaction.commit();
    return MonthClosing::Closed;
}

MonthReopening reopenMonth(Connection &connection, const QString &month, const QString &reason) {
    if (reason.trimmed().isEmpty())
        return MonthReopening::NoReason;
    Transaction transaction(connection);
    if (!isMonthClosed(connection, month))
        return MonthReopening::NotClosed;
    runOnMonth(connection, QStringLiteral("delete from GZJZ where ny=:ny"), month);
    const MonthFigures figures = monthFigures(connection, month);
    AuditTrail::record(connection, {.month = month,
                                    .action = AuditTrail::Action::Reopen,
                                    .before = figures,
                                    .after = figures,
                                    .file = {},
                                    .sha256 = {},
                                    .reason = reason.trimmed()});
    transaction.commit();
    return MonthReopening::Reopened;
}
