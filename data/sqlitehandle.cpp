#include "sqlitehandle.h"

#include "dberror.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>
#include <sqlite3.h>

sqlite3 *sqliteHandle(const QSqlDatabase &database) {
    const QVariant handle = database.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DbError(QStringLiteral("The database connection is not a SQLite connection"));
    return *static_cast<sqlite3 *const *>(handle.constData());
}
