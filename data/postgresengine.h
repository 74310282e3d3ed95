#pragma once

#include "databaseaddress.h"
#include "engine.h"

#include <QByteArray>
#include <QHash>
#include <vector>

struct pg_conn;
struct pg_result;

// The payroll on a PostgreSQL server, for an office with several clerks, through libpq: every
// statement prepared once per text and run with real parameters, in text form, so that the
// server reads each value for the type its place in the statement asks for. The connection
// gets a worksheet of its own (a temporary table) and claims months with advisory locks
// (see advisorymonthclaim.h), both of which the server drops with the connection.
class PostgresEngine : public Engine {
public:
    // Connects and checks that the database holds this program's tables of a layout it
    // knows; with `upgradesOlderLayout`, an earlier layout is brought up to date in one
    // transaction. Throws DbError naming the server (never its password).
    PostgresEngine(const DatabaseAddress &address, bool upgradesOlderLayout);
    ~PostgresEngine() override;
    PostgresEngine(const PostgresEngine &) = delete;
    PostgresEngine &operator=(const PostgresEngine &) = delete;

    SqlDialect dialect() const override { return SqlDialect::Postgres; }
    std::unique_ptr<EngineStatement> prepare(const QString &sql) override;
    void execute(const QString &sql) override;
    void begin() override;
    void commit() override;
    void rollback() override;
    MonthClaim &monthClaim() override;
    // Pipelined: the statements go out without waiting, and the answers are read every few
    // hundred, so that a month's rows cost a handful of round trips.
    void beginBatch() override;
    void endBatch(bool discard) override;

    // The name the server knows `sql` by, prepared on first use. Throws DbError.
    QByteArray preparedName(const QString &sql);
    pg_conn *handle() const { return m_connection; }
    bool isBatching() const { return m_batching; }
    // Sends a prepared statement in the batch; its answer is read later. Throws DbError.
    void sendBatched(const QByteArray &name, const std::vector<const char *> &values);

private:
    void checkLayout(bool upgradesOlderLayout, const QString &shownName);
    // Reads the answers of everything sent in the batch so far, keeping the first refusal.
    void collectBatch();

    pg_conn *m_connection = nullptr;
    QHash<QString, QByteArray> m_prepared;
    std::unique_ptr<MonthClaim> m_monthClaim;
    bool m_batching = false;
    int m_sentInBatch = 0;
    QString m_batchError;
};

// Connects to a server without looking at what it holds, for the set-up tool. Throws DbError
// naming the server. The caller owns the connection (PQfinish).
pg_conn *connectToServer(const DatabaseAddress &address);

// A result that frees itself; checked(): throws DbError with the server's message unless the
// statement succeeded.
class ServerResult {
public:
    ServerResult(pg_conn *connection, pg_result *result);
    ~ServerResult();
    ServerResult(const ServerResult &) = delete;
    ServerResult &operator=(const ServerResult &) = delete;
    pg_result *get() const { return m_result; }
    const ServerResult &checked() const;

private:
    pg_conn *m_connection;
    pg_result *m_result;
};

// Runs a statement without parameters; throws DbError with the server's message.
void runOnServer(pg_conn *connection, const QString &sql);
