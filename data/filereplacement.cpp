#include "filereplacement.h"

#include "filesync.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString temporaryPrefix = QStringLiteral("~CP");
const QString temporarySuffix = QStringLiteral(".tmp");

bool copyContents(const QString &from, QFile &to) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 chunk = 1 << 20;
    while (!source.atEnd()) {
        const QByteArray data = source.read(chunk);
        if (data.isEmpty() || to.write(data) != data.size())
            return false;
    }
    return source.error() == QFileDevice::NoError && to.flush();
}

bool takePermissions(int descriptor, const QString &from) {
    struct stat status {};
    return ::stat(QFile::encodeName(from).constData(), &status) == 0 &&
           ::fchmod(descriptor, status.st_mode & 07777) == 0;
}

bool moveIntoPlace(QTemporaryFile &replacement, const QString &target, const QString &modeOf) {
    if (!takePermissions(replacement.handle(), modeOf) || ::fsync(replacement.handle()) != 0)
        return false;
    if (::rename(QFile::encodeName(replacement.fileName()).constData(),
                 QFile::encodeName(target).constData()) != 0)
        return false;
    replacement.setAutoRemove(false);
    // The new file is in place; a failed flush of the folder only means a crash in the next
    // moments could bring the old file back, which is whole too.
    syncFolder(QFileInfo(target).absolutePath());
    return true;
}

} // namespace

QString replacementBeside(const QString &folder) {
    return QDir(folder).filePath(temporaryPrefix + QStringLiteral("XXXXXX") + temporarySuffix);
}

bool moveIntoPlace(QTemporaryFile &replacement, const QString &target) {
    return moveIntoPlace(replacement, target, target);
}

bool replaceFile(const QString &replacement, const QString &target) {
    QTemporaryFile copy(replacementBeside(QFileInfo(target).absolutePath()));
    return copy.open() && copyContents(replacement, copy) &&
           moveIntoPlace(copy, target, QFileInfo::exists(target) ? target : replacement);
}

void removeUnfinishedReplacements(const QString &folder) {
    const QDir dir(folder);
    // The engine's journal of a copy it was writing ends in "-journal".
    for (const QString &name : dir.entryList(
             {temporaryPrefix + QStringLiteral("*") + temporarySuffix + QStringLiteral("*")},
             QDir::Files | QDir::Hidden))
        QFile::remove(dir.filePath(name));
}
