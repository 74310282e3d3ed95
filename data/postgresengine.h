#pragma once

#include "databaseaddress.h"
#include "dberror.h"
#include "engine.h"
#include "serverlink.h"

#include <QByteArray>
#include <QHash>
#include <optional>
#include <vector>

class AdvisoryMonthClaim;
struct pg_conn;

// The payroll on a PostgreSQL server, for an office with several clerks, through libpq: every
// statement prepared once per text and run with real parameters, in text form, so that the
// server reads each value for the type its place in the statement asks for. The connection
// gets a worksheet of its own (a temporary table) and claims months with advisory locks
// (see advisorymonthclaim.h), both of which the server drops with the connection.
//
// A connection that is lost, or dropped for not answering, is made anew by the next statement,
// worksheet included (empty: what the old one held is gone, and the DbError that told of the
// loss said so). Inside a transaction or a batch it is not: the statements after the loss fail
// too, until the transaction is rolled back or the batch ended, so that no part of either ever
// lands alone on a new connection.
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
    // The connection, made anew if it was lost. Throws DbError.
    pg_conn *handle();
    // Whether the connection still stands, as far as the last exchange with the server told.
    bool isConnected() const;
    bool isBatching() const { return m_batching; }
    // Sends a prepared statement in the batch; its answer is read later. Throws DbError.
    void sendBatched(const QByteArray &name, const std::vector<const char *> &values);

private:
    // Connects, checks the layout and makes the worksheet. Throws DbError.
    void connect(bool upgradesOlderLayout, bool reconnecting);
    void checkLayout(bool upgradesOlderLayout, const QString &shownName);
    // Reads the answers of everything sent in the batch so far, keeping the first refusal.
    void collectBatch();

    DatabaseAddress m_address;
    pg_conn *m_connection = nullptr;
    QHash<QString, QByteArray> m_prepared;
    std::unique_ptr<AdvisoryMonthClaim> m_monthClaim;
    bool m_inTransaction = false;
    bool m_batching = false;
    int m_sentInBatch = 0;
    std::optional<DbError> m_batchError;
};
