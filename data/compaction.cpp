#include "compaction.h"

#include "databasebackup.h"
#include "databasefile.h"
#include "databaselock.h"
#include "filereplacement.h"

#include <QDateTime>
#include <QFileInfo>

namespace {

constexpr int backupsKept = 10;

// A journal beside the file belongs to the old file: put beside the new one, SQLite would
// "roll back" the new file with the old file's pages.
bool hasJournal(const QString &databasePath) {
    return QFileInfo::exists(databasePath + QStringLiteral("-journal")) ||
           QFileInfo::exists(databasePath + QStringLiteral("-wal"));
}

} // namespace

bool compactDatabase(const QString &fileName, const QString &password) {
    if (!password.isEmpty())
        return false;
    const QString database = findDatabaseFile(fileName);
    if (database.isEmpty())
        return false;
    const DatabaseLock lock(database, DatabaseLock::Mode::Exclusive);
    if (!lock.isHeld())
        return false;
    removeUnfinishedReplacements(QFileInfo(database).absolutePath());

    // VACUUM INTO writes the same compacted copy whatever its destination, so the backup is
    // the compacted copy: the file is rewritten once, and what goes in place is what was kept.
    const QString compacted = backUpDatabase(database, QDateTime::currentDateTime());
    if (compacted.isEmpty())
        return false;
    keepNewestBackups(database, backupsKept);
    return !hasJournal(database) && replaceFile(compacted, database);
}
