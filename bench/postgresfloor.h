#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

struct pg_conn;

// The floor a data layer on the server is measured against: statements run straight through
// libpq on the program's own connection (same session, same worksheet table, same
// transactions), each text prepared once with PQprepare and run with PQexecPrepared, values
// sent as text as the program sends them, and every value of every row read as what its
// column's type is.
class PostgresFloor {
public:
    using Values = std::vector<std::optional<QByteArray>>; // nullopt for a null

    explicit PostgresFloor(pg_conn *connection) : m_connection(connection) {}
    ~PostgresFloor();
    PostgresFloor(const PostgresFloor &) = delete;
    PostgresFloor &operator=(const PostgresFloor &) = delete;

    // The name the statement `sql` ($1, $2, ... markers) is prepared under, prepared once.
    QByteArray prepared(const QString &sql);
    // Runs a prepared statement with its values, reading every row; returns the row count.
    int execute(const QByteArray &name, const std::vector<const char *> &values);
    // Runs a statement without values (BEGIN, COMMIT, set-up between runs).
    int run(const QString &sql);

    // Runs `action` through the program and returns the replay of what it ran on the
    // connection, in order: each statement the program prepared run through execute() with
    // the values it was given, each one it ran plainly through run(). The server reports them
    // itself (log_statement, sent to this client), which needs a superuser's connection.
    std::function<void()> replayOf(const std::function<void()> &action);

private:
    struct Traced {
        QString sql;
        std::optional<Values> values; // absent for a statement the program ran plainly
    };
    std::vector<Traced> trace(const std::function<void()> &action);

    pg_conn *m_connection;
    QHash<QString, QByteArray> m_prepared;
};
