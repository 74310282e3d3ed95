#include "checkedcopy.h"

#include "connection.h"
#include "dberror.h"
#include "filemark.h"
#include "filesync.h"

#include <QSqlQuery>

namespace {

bool writeCopy(const QString &databasePath, const QString &copyPath,
               const ProgressCallback &progress) {
    Connection source(databasePath);
    QSqlDatabase database = source.database();
    if (!carriesPayrollMark(database))
        return false;
    const EngineProgress reporting(database, progress);
    QSqlQuery vacuum(database);
    if (!vacuum.prepare(QStringLiteral("VACUUM INTO ?")))
        return false;
    vacuum.addBindValue(copyPath);
    return vacuum.exec();
}

// The engine built the copy's indexes afresh from its tables, so the structural check is
// enough; the full check would read every index again against its table.
bool passesCheck(const QString &copyPath, const ProgressCallback &progress) {
    Connection copy(copyPath);
    QSqlDatabase database = copy.database();
    const EngineProgress reporting(database, progress);
    QSqlQuery check(database);
    return check.exec(QStringLiteral("PRAGMA quick_check")) && check.next() &&
           check.value(0).toString() == QStringLiteral("ok") && !check.next();
}

} // namespace

bool writeCheckedCopy(const QString &databasePath, const QString &copyPath,
                      const ProgressCallback &progress) {
    try {
        return writeCopy(databasePath, copyPath, progress) && passesCheck(copyPath, progress) &&
               syncFile(copyPath);
    } catch (const DbError &) {
        // Not one of the program's files, or the engine could not open it.
        return false;
    }
}
