#include "schemaupgrade.h"

#include "databasebackup.h"
#include "dberror.h"
#include "filemessages.h"
#include "schemastatements.h"
#include "schemaversion.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>

namespace {

void run(QSqlDatabase &db, const QString &statement) {
    QSqlQuery query(db);
    if (!query.exec(statement))
        throw sqliteFailure(db, query.lastError());
}

} // namespace

void upgradeLayout(QSqlDatabase &db, const QString &databasePath, int version) {
    if (backUpDatabase(databasePath, QDateTime::currentDateTime()).isEmpty())
        throw DbError(QStringLiteral("%1 的数据库版本是 %2，须先升级到版本 %3，但无法先写出它的备份"
                                     "（磁盘已满，或不能让备份保留原文件的所有者、组和权限），"
                                     "文件保持原样。")
                          .arg(databasePath)
                          .arg(version)
                          .arg(schemaVersion));
    if (!db.transaction())
        throw sqliteFailure(db, db.lastError());
    try {
        const QStringList statements = statementsAfterVersion(version);
        if (statements.isEmpty())
            throw DbError(QStringLiteral("The database schema is missing from the program"));
        for (const QString &statement : statements)
            run(db, statement);
        run(db, QStringLiteral("pragma user_version = %1").arg(schemaVersion));
        if (!db.commit())
            throw sqliteFailure(db, db.lastError());
    } catch (...) {
        db.rollback();
        throw;
    }
}
