#include "compaction.h"

#include "backupfolder.h"
#include "checkedcopy.h"
#include "databaseaddress.h"
#include "databasebackup.h"
#include "databasefile.h"
#include "databaselock.h"
#include "filereplacement.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

// A journal beside the file belongs to the old file: it would "roll back" the new file with
// the old file's pages, and the old file without it is not whole enough to be the backup.
bool hasJournal(const QString &databasePath) {
    return QFileInfo::exists(databasePath + QStringLiteral("-journal")) ||
           QFileInfo::exists(databasePath + QStringLiteral("-wal"));
}

} // namespace

bool compactDatabase(const QString &fileName, const QString &password,
                     const ProgressCallback &progress) {
    // A server vacuums its own tables, and its backups are its administrator's.
    if (!password.isEmpty() || DatabaseAddress::configured().isServer())
        return false;
    const QString database = findDatabaseFile(fileName);
    if (database.isEmpty())
        return false;
    if (!mayReplace(database)) {
        // Not the clerk's business, who goes on working on the file as it is; the folder's
        // administrator finds the reason here.
        qWarning("%s 未压缩：此用户不能写该文件，或不能让新文件保留它的所有者、组和权限",
                 qUtf8Printable(QFileInfo(database).fileName()));
        return false;
    }
    // After the check above: the lock needs the file open for writing, and without it the
    // administrator would not learn why the file stays as it is.
    const DatabaseLock lock(database, DatabaseLock::Mode::Exclusive);
    if (!lock.isHeld())
        return false;
    const QString folder = QFileInfo(database).absolutePath();
    removeUnfinishedReplacements(folder);
    const BackupFolder backups(database);
    backups.removeLeftovers();

    // In the file's own folder: the rename that puts it in place cannot cross disks.
    QTemporaryFile compacted(replacementBeside(folder));
    if (!compacted.open() || !writeCheckedCopy(database, compacted.fileName(), progress) ||
        hasJournal(database))
        return false;
    const QDateTime now = QDateTime::currentDateTime();
    const QString backup = keepFileAsBackup(database, now);
    if (backup.isEmpty())
        return false;
    if (!moveIntoPlace(compacted, database)) {
        // The backup may be the file itself under a second name, which every later write
        // to the file would change.
        QFile::remove(backup);
        return false;
    }
    backups.prune(backup, now);
    return true;
}
