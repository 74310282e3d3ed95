#pragma once

#include <QString>

// Where the payroll lives: a database file in the working folder (the default, GZDB.mdb), or
// a PostgreSQL server named by a libpq connection string ("postgresql://clerk@host/payroll").
// Passwords never belong here: libpq's own ~/.pgpass, PGPASSWORD and service files supply
// them.
class DatabaseAddress {
public:
    enum class Kind { File, Server };

    static DatabaseAddress file(QString fileName = QStringLiteral("GZDB.mdb"));
    static DatabaseAddress server(QString connectionString);

    // The environment variable GZGL_DATABASE when set (for scripts and tests), else the
    // working folder's gzgl.ini, [database] server=, else the file GZDB.mdb.
    static DatabaseAddress configured();

    Kind kind() const { return m_kind; }
    bool isServer() const { return m_kind == Kind::Server; }
    // The file's name, or the server's connection string.
    const QString &location() const { return m_location; }
    // The address as messages may show it: a server's without any password written into it.
    QString shownName() const;

private:
    DatabaseAddress(Kind kind, QString location) : m_kind(kind), m_location(std::move(location)) {}

    Kind m_kind;
    QString m_location;
};
