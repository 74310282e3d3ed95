#pragma once

#include "databaseaddress.h"

#include <QSqlDatabase>
#include <QString>
#include <memory>

class Engine;
class MonthClaim;

// The one connection to the payroll: the database file in the working folder, or the server
// the configuration names (see databaseaddress.h). It connects on first use and stays
// connected. Each connection has a worksheet of its own, and claims the month it enters for
// itself.
class Connection {
public:
    // The configured database.
    Connection();
    explicit Connection(DatabaseAddress address);
    // A database file, named relative to the working folder.
    explicit Connection(const QString &fileName);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // The program's own connection brings a database of an earlier layout up to date when it
    // connects (a file after a backup); every other connection (a backup's, a check's) leaves
    // it as it finds it.
    void upgradeOlderLayoutOnConnect() { m_upgradesOlderLayout = true; }

    const DatabaseAddress &address() const { return m_address; }
    bool isConnected() const;
    // The connected engine; connects first if needed. Throws DbError.
    Engine &engine();
    // The connected file, for work only a file has (compaction, checks). Throws DbError,
    // also on a server.
    QSqlDatabase database();

    // Whether the session that held this connection's worksheet and month claims has ended
    // with a server connection that was lost or dropped for not answering (a DbError of kind
    // ConnectionLost, or TimedOut past the server's own limit): both are gone, and the next
    // statement starts a new session.
    bool sessionEnded() const;

    // This connection's claims on months; connects first if needed. Throws DbError.
    MonthClaim &monthClaim();

private:
    DatabaseAddress m_address;
    std::unique_ptr<Engine> m_engine;
    bool m_upgradesOlderLayout = false;
};
