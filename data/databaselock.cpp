#include "databaselock.h"

#include "ofdlockbytes.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool lockCopiesRunningByte(int descriptor, DatabaseLock::Mode mode) {
    struct flock lock {};
    lock.l_type = mode == DatabaseLock::Mode::Shared ? F_RDLCK : F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = copiesRunningByte;
    lock.l_len = 1;
    const int command = mode == DatabaseLock::Mode::Shared ? F_OFD_SETLKW : F_OFD_SETLK;
    int status;
    do
        status = ::fcntl(descriptor, command, &lock);
    while (status != 0 && errno == EINTR);
    return status == 0;
}

// Whether `path` still names the file open as `descriptor`: not when another copy replaced
// it, or someone removed it, between the opening and the lock.
bool namesFile(const QByteArray &path, int descriptor) {
    struct stat named {};
    struct stat held {};
    return ::stat(path.constData(), &named) == 0 && ::fstat(descriptor, &held) == 0 &&
           named.st_dev == held.st_dev && named.st_ino == held.st_ino;
}

} // namespace

DatabaseLock::DatabaseLock(const QString &databasePath, Mode mode) {
    if (databasePath.isEmpty())
        return;
    const QByteArray path = QFile::encodeName(databasePath);
    // A shared lock needs only reading; an exclusive one needs writing, which replacing the
    // file needs anyway. Never O_CREAT: a missing file has nobody to keep out.
    const int access = mode == Mode::Shared ? O_RDONLY : O_RDWR;
    for (;;) {
        const int descriptor = ::open(path.constData(), access | O_CLOEXEC);
        if (descriptor < 0)
            return;
        const bool locked = lockCopiesRunningByte(descriptor, mode);
        if (locked && namesFile(path, descriptor)) {
            m_descriptor = descriptor;
            return;
        }
        ::close(descriptor);
        // Locked but on a file replaced meanwhile: the name's new file is the one to lock.
        if (!locked || !QFile::exists(databasePath))
            return;
    }
}

DatabaseLock::~DatabaseLock() {
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}
