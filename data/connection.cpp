#include "connection.h"

#include "dberror.h"
#include "filemark.h"
#include "ofdmonthclaim.h"
#include "pinyinorder.h"
#include "schemaupgrade.h"
#include "schemaversion.h"
#include "sqliteworksheet.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>

Connection::Connection(QString fileName)
    : m_fileName(std::move(fileName)),
      m_connectionName(QStringLiteral("gz-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {
}

Connection::~Connection() {
    m_monthClaim.reset();
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
    if (!db.open()) {
        // The engine's words alone; Qt would add its own "Error opening database".
        const QString reason = db.lastError().databaseText();
        throw DbError(reason.isEmpty() ? QStringLiteral("Cannot open %1").arg(path) : reason);
    }
    try {
        claimPayrollFile(db, m_fileName);
        const int version = checkedLayoutVersion(db);
        if (m_upgradesOlderLayout && version >= 1 && version < schemaVersion)
            upgradeLayout(db, path, version);
        usePinyinOrder(db);
        createConnectionWorksheet(db);
    } catch (...) {
        db.close();
        throw;
    }
    m_path = path;
    return db;
}

MonthClaim &Connection::monthClaim() {
    database();
    if (!m_monthClaim)
        m_monthClaim = std::make_unique<OfdMonthClaim>(m_path);
    return *m_monthClaim;
}

int Connection::checkedLayoutVersion(QSqlDatabase &db) const {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("pragma user_version")) || !query.next())
        throw DbError(query.lastError().databaseText());
    const int version = query.value(0).toInt();
    if (version > schemaVersion)
        throw DbError(QStringLiteral("%1 has database version %2, newer than version %3 that this "
                                     "program knows; it was made by a newer program and is left "
                                     "untouched")
                          .arg(m_fileName)
                          .arg(version)
                          .arg(schemaVersion));
    return version;
}
