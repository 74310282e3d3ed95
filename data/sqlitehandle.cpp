#include "sqlitehandle.h"

#include "dberror.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

sqlite3 *sqliteHandle(const QSqlDatabase &database) {
    const QVariant handle = database.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DbError(QStringLiteral("The database driver is not SQLite"));
    return *static_cast<sqlite3 *const *>(handle.constData());
}
