#pragma once

#include <QSqlDatabase>
#include <QString>

// The one connection to the database file in the working directory. It connects on first
// use and stays connected; it never creates the file, so a missing file is an error, not an
// empty database. The file is opened shared: another program may use it meanwhile. A file
// that is not one of this program's (see filemark.h), or of a newer layout than this
// program's, is refused before any statement runs on it.
class Connection {
public:
    explicit Connection(QString fileName = QStringLiteral("GZDB.mdb"));
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    bool isConnected() const;
    // The connected database; connects first if needed. Throws DbError.
    QSqlDatabase database();

private:
    void refuseNewerLayout(QSqlDatabase &db) const;

    QString m_fileName;
    QString m_connectionName;
};
