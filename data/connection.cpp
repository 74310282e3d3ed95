#include "connection.h"

#include "dberror.h"

#include <QDir>
#include <QSqlError>
#include <QUrl>
#include <QUuid>

Connection::Connection(QString fileName)
    : m_fileName(std::move(fileName)),
      m_connectionName(QStringLiteral("gz-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {
}

Connection::~Connection() {
    if (QSqlDatabase::contains(m_connectionName)) {
        QSqlDatabase::database(m_connectionName, false).close();
        QSqlDatabase::removeDatabase(m_connectionName);
    }
}

bool Connection::isConnected() const {
    return QSqlDatabase::contains(m_connectionName) &&
           QSqlDatabase::database(m_connectionName, false).isOpen();
}

QSqlDatabase Connection::database() {
    if (isConnected())
        return QSqlDatabase::database(m_connectionName, false);

    QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
                          ? QSqlDatabase::database(m_connectionName, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    // mode=rw: SQLite must not create a missing file; the set-up tool makes it.
    const QString path = QDir::current().absoluteFilePath(m_fileName);
    QUrl uri = QUrl::fromLocalFile(path);
    uri.setQuery(QStringLiteral("mode=rw"));
    db.setDatabaseName(uri.toString(QUrl::FullyEncoded));
    // A second program working on the same file holds its lock briefly: wait for it.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open())
        throw DbError(db.lastError().text().isEmpty() ? QStringLiteral("Cannot open %1").arg(path)
                                                      : db.lastError().text());
    return db;
}
