#include "schemaupgrade.h"

#include "databasebackup.h"
#include "dberror.h"
#include "schemastatements.h"
#include "schemaversion.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>

namespace {

void run(QSqlDatabase &db, const QString &statement) {
    QSqlQuery query(db);
    if (!query.exec(statement))
        throw DbError(query.lastError().databaseText());
}

} // namespace

void upgradeLayout(QSqlDatabase &db, const QString &databasePath, int version) {
    if (backUpDatabase(databasePath, QDateTime::currentDateTime()).isEmpty())
        throw DbError(QStringLiteral("%1 has database version %2 and must be brought up to "
                                     "version %3, but no backup of it could be written first; it "
                                     "is left untouched")
                          .arg(databasePath)
                          .arg(version)
                          .arg(schemaVersion));
    if (!db.transaction())
        throw DbError(db.lastError().databaseText());
    try {
        const QStringList statements = statementsAfterVersion(version);
        if (statements.isEmpty())
            throw DbError(QStringLiteral("The database schema is missing from the program"));
        for (const QString &statement : statements)
            run(db, statement);
        run(db, QStringLiteral("pragma user_version = %1").arg(schemaVersion));
        if (!db.commit())
            throw DbError(db.lastError().databaseText());
    } catch (...) {
        db.rollback();
        throw;
    }
}
