#include "filereplacement.h"

#include "filesync.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

bool statusOf(const QString &path, struct stat &status) {
    return ::stat(QFile::encodeName(path).constData(), &status) == 0;
}

bool isGroupMember(gid_t group) {
    if (::getegid() == group)
        return true;
    const int count = ::getgroups(0, nullptr);
    if (count <= 0)
        return false;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    return ::getgroups(count, groups.data()) == count &&
           std::find(groups.begin(), groups.end(), group) != groups.end();
}

bool moveIntoPlace(QTemporaryFile &replacement, const QString &target, const QString &modeOf) {
    if (!takeOwnership(replacement.fileName(), modeOf) || ::fsync(replacement.handle()) != 0)
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

bool takeOwnership(const QString &path, const QString &reference) {
    struct stat wanted {};
    struct stat made {};
    if (!statusOf(reference, wanted) || !statusOf(path, made))
        return false;
    const QByteArray name = QFile::encodeName(path);
    // The system lets only an administrator give a file away, and its owner give it to a
    // group of their own; what it refuses is left as the user made it.
    bool owned = made.st_uid == wanted.st_uid;
    if (!owned)
        owned = ::chown(name.constData(), wanted.st_uid, wanted.st_gid) == 0;
    const bool grouped = (owned && made.st_uid != wanted.st_uid) || made.st_gid == wanted.st_gid ||
                         ::chown(name.constData(), uid_t(-1), wanted.st_gid) == 0;
    // After the owner: a change of owner clears the set-id bits.
    return ::chmod(name.constData(), wanted.st_mode & 07777) == 0 && owned && grouped;
}

bool mayReplace(const QString &target) {
    struct stat status {};
    if (!statusOf(target, status) ||
        ::faccessat(AT_FDCWD, QFile::encodeName(target).constData(), W_OK, AT_EACCESS) != 0)
        return false;
    // A file nobody may write was made read-only on purpose; an administrator leaves it so too.
    if ((status.st_mode & 0222) == 0)
        return false;
    const uid_t user = ::geteuid();
    return user == 0 || (user == status.st_uid && isGroupMember(status.st_gid));
}

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
