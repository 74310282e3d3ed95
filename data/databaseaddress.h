#pragma once

#include <QString>

// How long the program waits on a database server before it tells the clerk, in seconds; read
// from the working folder's gzgl.ini, [database] connect_timeout= and statement_timeout=.
struct ServerTimeouts {
    // Reaching the server and logging in.
    int connectSeconds = 10;
    // One statement: the server cancels it after this long, and the program gives the server's
    // answer connectSeconds more before it drops a connection that no longer answers at all.
    // Long enough for saving a large month on a healthy server.
    int statementSeconds = 300;

    static ServerTimeouts configured();
};

// Where the payroll lives: a database file in the working folder (the default, GZDB.mdb), or
// a PostgreSQL server named by a libpq connection string ("postgresql://clerk@host/payroll").
// Passwords never belong here: libpq's own ~/.pgpass, PGPASSWORD and service files supply
// them; one written into the string anyway is never shown.
class DatabaseAddress {
public:
    enum class Kind { File, Server };

    static DatabaseAddress file(QString fileName = QStringLiteral("GZDB.mdb"));
    static DatabaseAddress server(QString connectionString, ServerTimeouts timeouts = {});

    // The environment variable GZGL_DATABASE when set (for scripts and tests), else the
    // working folder's gzgl.ini, [database] server=, else the file GZDB.mdb. A server's
    // timeouts come from gzgl.ini either way.
    static DatabaseAddress configured();

    Kind kind() const { return m_kind; }
    bool isServer() const { return m_kind == Kind::Server; }
    // The file's name, or the server's connection string.
    const QString &location() const { return m_location; }
    const ServerTimeouts &timeouts() const { return m_timeouts; }
    // Whether libpq can read the server's connection string at all.
    bool isReadable() const;
    // The address as messages may show it: a server's rebuilt from what libpq reads in it,
    // without the password; nothing of a string libpq cannot read, which could be anything.
    QString shownName() const;
    // `text` (a server's message about this address) with the password, if one is written
    // into the address, blanked out.
    QString withoutPassword(QString text) const;

private:
    DatabaseAddress(Kind kind, QString location, ServerTimeouts timeouts = {})
        : m_kind(kind), m_location(std::move(location)), m_timeouts(timeouts) {}

    Kind m_kind;
    QString m_location;
    ServerTimeouts m_timeouts;
};
