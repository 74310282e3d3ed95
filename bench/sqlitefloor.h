#pragma once

#include <QString>
#include <QVariant>
#include <map>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

// The floor a data layer is measured against: statements run straight through the SQLite C
// API on the program's own connection handle (same file, same collations, same page cache),
// each prepared once and kept, values bound by position, rows stepped and every column read
// with sqlite3_column_*.
class SqliteFloor {
public:
    explicit SqliteFloor(sqlite3 *connection) : m_db(connection) {}
    ~SqliteFloor();
    SqliteFloor(const SqliteFloor &) = delete;
    SqliteFloor &operator=(const SqliteFloor &) = delete;

    // The prepared statement for `sql`, reset and with its bindings cleared.
    sqlite3_stmt *statement(const QString &sql);
    // Binds 1-based positions from a list: qint64, double or text.
    void bind(sqlite3_stmt *statement, const QVariantList &values);
    // Steps to the end, reading every column of every row; returns the row count.
    int run(sqlite3_stmt *statement);
    int run(const QString &sql, const QVariantList &values = {});

    void begin() { run(QStringLiteral("BEGIN")); }
    void commit() { run(QStringLiteral("COMMIT")); }

private:
    [[noreturn]] void fail() const;

    sqlite3 *m_db;
    std::map<std::string, sqlite3_stmt *> m_statements;
};
