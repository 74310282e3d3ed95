#include "filemark.h"

#include "dberror.h"
#include "filemessages.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <sqlite3.h>

namespace {

int integerOf(QSqlDatabase &database, const QString &sql) {
    QSqlQuery query(database);
    if (!query.exec(sql) || !query.next())
        throw sqliteFailure(database, query.lastError());
    return query.value(0).toInt();
}

// The layout every file had before files were marked: the five tables of version 1.
bool isUnmarkedPayroll(QSqlDatabase &database) {
    return integerOf(database, QStringLiteral("pragma user_version")) == 1 &&
           integerOf(database,
                     QStringLiteral("select count(*) from sqlite_master where type='table' and "
                                    "lower(name) in ('bmzd','ygzd','gzxmzd','gzb','temp_gzb')")) ==
               5;
}

} // namespace

bool carriesPayrollMark(QSqlDatabase &database) {
    return integerOf(database, QStringLiteral("pragma application_id")) == payrollFileMark;
}

void claimPayrollFile(QSqlDatabase &database, const QString &fileName) {
    const DbError notOurs(
        QStringLiteral("%1 不是本系统的数据库文件！").arg(QFileInfo(fileName).fileName()));
    QSqlQuery mark(database);
    if (!mark.exec(QStringLiteral("pragma application_id")) || !mark.next()) {
        // Text, or anything else the engine cannot read as a database.
        if (mark.lastError().nativeErrorCode() == QString::number(SQLITE_NOTADB))
            throw notOurs;
        throw sqliteFailure(database, mark.lastError());
    }
    if (mark.value(0).toInt() == payrollFileMark)
        return;
    if (!isUnmarkedPayroll(database))
        throw notOurs;
    mark.exec(QStringLiteral("pragma application_id = %1").arg(payrollFileMark));
}
