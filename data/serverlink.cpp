#include "serverlink.h"

#include "dberror.h"
#include "servermessages.h"
#include "socketwait.h"

#include <libpq-events.h>
#include <libpq-fe.h>
#include <utility>

namespace {

// Each connection keeps its timeouts as libpq instance data, freed with it.
int timeoutsEvent(PGEventId event, void *info, void *) {
    if (event == PGEVT_CONNDESTROY) {
        pg_conn *connection = static_cast<PGEventConnDestroy *>(info)->conn;
        delete static_cast<ServerTimeouts *>(PQinstanceData(connection, timeoutsEvent));
    }
    return 1;
}

void keepTimeouts(pg_conn *connection, const ServerTimeouts &timeouts) {
    if (PQregisterEventProc(connection, timeoutsEvent, "timeouts", nullptr) == 1)
        PQsetInstanceData(connection, timeoutsEvent, new ServerTimeouts(timeouts));
}

ServerTimeouts timeoutsOf(pg_conn *connection) {
    const auto *kept =
        static_cast<const ServerTimeouts *>(PQinstanceData(connection, timeoutsEvent));
    return kept ? *kept : ServerTimeouts{};
}

// The server cancels a statement at its statement_timeout and says so; past that, and the
// time a connection may take on top, it is not answering at all.
int answerLimitSeconds(pg_conn *connection) {
    const ServerTimeouts timeouts = timeoutsOf(connection);
    return timeouts.statementSeconds + timeouts.connectSeconds;
}

// Drops a connection whose server stopped answering. A cancel request would need a second
// connection to the same silent server, and could hang as well; the statement, should the
// server wake, ends at its own statement_timeout.
[[noreturn]] void giveUp(pg_conn *connection) {
    abandonSocket(PQsocket(connection));
    PQconsumeInput(connection);
    while (pg_result *rest = PQgetResult(connection))
        PQclear(rest);
    throw noAnswerError(answerLimitSeconds(connection));
}

pg_result *nextResult(pg_conn *connection, SocketDeadline deadline) {
    int flushed = 0;
    while ((flushed = PQflush(connection)) == 1) {
        if (!waitForSocket(PQsocket(connection), true, deadline))
            giveUp(connection);
        PQconsumeInput(connection);
    }
    while (flushed == 0 && PQisBusy(connection)) {
        if (!waitForSocket(PQsocket(connection), false, deadline))
            giveUp(connection);
        if (PQconsumeInput(connection) == 0)
            break;
    }
    return PQgetResult(connection);
}

SocketDeadline answerDeadline(pg_conn *connection) {
    return std::chrono::steady_clock::now() + std::chrono::seconds(answerLimitSeconds(connection));
}

} // namespace

pg_conn *connectToServer(const DatabaseAddress &address, bool reconnecting) {
    if (!address.isReadable())
        throw unreadableAddressError();
    const ServerTimeouts timeouts = address.timeouts();
    const QByteArray location = address.location().toUtf8();
    const QByteArray connectSeconds = QByteArray::number(timeouts.connectSeconds);
    // Later keywords win: the configured timeout over one in the string itself.
    const char *const keywords[] = {"dbname", "connect_timeout", "client_encoding", nullptr};
    const char *const values[] = {location.constData(), connectSeconds.constData(), "UTF8",
                                  nullptr};
    pg_conn *connection = PQconnectdbParams(keywords, values, 1);
    if (PQstatus(connection) != CONNECTION_OK) {
        const QString reason = QString::fromUtf8(PQerrorMessage(connection));
        PQfinish(connection);
        throw connectionFailure(address, reason, reconnecting);
    }
    // The server's notices (a table that already exists, ...) are not the clerk's business.
    PQsetNoticeProcessor(
        connection, [](void *, const char *) {}, nullptr);
    keepTimeouts(connection, timeouts);
    try {
        runOnServer(connection, QStringLiteral("SET statement_timeout = %1")
                                    .arg(qint64(timeouts.statementSeconds) * 1000));
    } catch (...) {
        PQfinish(connection);
        throw;
    }
    return connection;
}

ServerResult::ServerResult(pg_conn *connection, pg_result *result)
    : m_connection(connection), m_result(result) {}

ServerResult::ServerResult(ServerResult &&other) noexcept
    : m_connection(other.m_connection), m_result(std::exchange(other.m_result, nullptr)) {}

ServerResult::~ServerResult() {
    PQclear(m_result);
}

const ServerResult &ServerResult::checked() const {
    const ExecStatusType status = m_result ? PQresultStatus(m_result) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        throw serverFailure(m_connection, m_result);
    return *this;
}

ServerResult askServer(pg_conn *connection, const QString &sql) {
    return awaitAnswer(connection, PQsendQuery(connection, sql.toUtf8().constData()));
}

void runOnServer(pg_conn *connection, const QString &sql) {
    askServer(connection, sql).checked();
}

ServerResult awaitAnswer(pg_conn *connection, int sent) {
    if (sent != 1)
        throw serverFailure(connection, nullptr);
    const SocketDeadline deadline = answerDeadline(connection);
    pg_result *answer = nullptr;
    try {
        while (pg_result *result = nextResult(connection, deadline)) {
            const ExecStatusType status = PQresultStatus(result);
            // The first failure is the one to report; else the last result is the answer.
            if (answer && PQresultStatus(answer) == PGRES_FATAL_ERROR) {
                PQclear(result);
            } else {
                PQclear(answer);
                answer = result;
            }
            // A COPY waits for its rows: its answer is the start of it.
            if (status == PGRES_COPY_IN || status == PGRES_COPY_OUT)
                break;
        }
    } catch (...) {
        PQclear(answer);
        throw;
    }
    return {connection, answer};
}

pg_result *awaitResult(pg_conn *connection) {
    return nextResult(connection, answerDeadline(connection));
}
