#include "filereplacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <fcntl.h>
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

bool takePermissions(int descriptor, const QString &target) {
    struct stat status {};
    return ::stat(QFile::encodeName(target).constData(), &status) == 0 &&
           ::fchmod(descriptor, status.st_mode & 07777) == 0;
}

bool syncFolder(const QString &folder) {
    const int descriptor =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool synced = ::fsync(descriptor) == 0;
    ::close(descriptor);
    return synced;
}

} // namespace

bool replaceFile(const QString &replacement, const QString &target) {
    const QString folder = QFileInfo(target).absolutePath();
    QTemporaryFile copy(
        QDir(folder).filePath(temporaryPrefix + QStringLiteral("XXXXXX") + temporarySuffix));
    if (!copy.open() || !copyContents(replacement, copy) ||
        !takePermissions(copy.handle(), target) || ::fsync(copy.handle()) != 0)
        return false;
    if (::rename(QFile::encodeName(copy.fileName()).constData(),
                 QFile::encodeName(target).constData()) != 0)
        return false;
    copy.setAutoRemove(false);
    // The new file is in place; a failed flush of the folder only means a crash in the next
    // moments could bring the old file back, which is whole too.
    syncFolder(folder);
    return true;
}

void removeUnfinishedReplacements(const QString &folder) {
    const QDir dir(folder);
    for (const QString &name : dir.entryList(
             {temporaryPrefix + QStringLiteral("*") + temporarySuffix}, QDir::Files | QDir::Hidden))
        QFile::remove(dir.filePath(name));
}
