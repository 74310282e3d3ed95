#include "databasebackup.h"

#include "backupfolder.h"
#include "checkedcopy.h"
#include "filereplacement.h"
#include "filesync.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace {

// A new, empty file readable by its owner alone while it is written: a payroll kept private
// must not be readable where others can read it, even for a moment.
bool claimPrivately(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                     QFile::ReadOwner | QFile::WriteOwner);
}

bool giveName(const QString &partial, const QString &databasePath, const QString &backup) {
    return takeOwnership(partial, databasePath) &&
           ::rename(QFile::encodeName(partial).constData(),
                    QFile::encodeName(backup).constData()) == 0;
}

} // namespace

QString backUpDatabase(const QString &databasePath, const QDateTime &moment,
                       const ProgressCallback &progress) {
    const BackupFolder folder(databasePath);
    if (!folder.create())
        return {};
    const QString backup = folder.nextBackup(moment);
    const QString partial = BackupFolder::partialName(backup);
    if (!claimPrivately(partial))
        return {};
    if (writeCheckedCopy(databasePath, partial, progress) &&
        giveName(partial, databasePath, backup)) {
        syncFolder(folder.path());
        return backup;
    }
    QFile::remove(partial);
    QFile::remove(partial + QStringLiteral("-journal"));
    return {};
}

QString keepFileAsBackup(const QString &databasePath, const QDateTime &moment) {
    const BackupFolder folder(databasePath);
    if (!folder.create())
        return {};
    const QString backup = folder.nextBackup(moment);
    if (::link(QFile::encodeName(databasePath).constData(),
               QFile::encodeName(backup).constData()) == 0) {
        syncFolder(folder.path());
        return backup;
    }
    // A shared drive, for one, may offer no second names: then a copy, named when whole.
    if (errno != EEXIST && replaceFile(databasePath, backup))
        return backup;
    return {};
}
