#pragma once

#include <QSqlDatabase>
#include <QString>
#include <memory>

class MonthClaim;

// The one connection to the database file in the working directory. It connects on first
// use and stays connected; it never creates the file, so a missing file is an error, not an
// empty database. The file is opened shared: another program may use it meanwhile. A file
// that is not one of this program's (see filemark.h), or of a newer layout than this
// program's, is refused before any statement runs on it. Each connection has a worksheet of
// its own, and claims the month it enters for itself.
class Connection {
public:
    explicit Connection(QString fileName = QStringLiteral("GZDB.mdb"));
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // The program's own connection brings a file of an earlier layout up to date when it
    // connects (after a backup); every other connection (a backup's, a check's) leaves the
    // file as it finds it.
    void upgradeOlderLayoutOnConnect() { m_upgradesOlderLayout = true; }

    bool isConnected() const;
    // The connected database; connects first if needed. Throws DbError.
    QSqlDatabase database();

    // This connection's claims on months; connects first if needed. Throws DbError.
    MonthClaim &monthClaim();

private:
    // The file's layout version; throws DbError for a newer one than this program's.
    int checkedLayoutVersion(QSqlDatabase &db) const;

    QString m_fileName;
    QString m_connectionName;
    QString m_path; // of the file connected to
    std::unique_ptr<MonthClaim> m_monthClaim;
    bool m_upgradesOlderLayout = false;
};
