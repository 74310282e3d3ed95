#include "databaselock.h"

#include "filereplacement.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

int openLockFile(const QString &databasePath) {
    const QString lockPath = databasePath + QStringLiteral(".lock");
    const QByteArray path = QFile::encodeName(lockPath);
    const int made = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (made >= 0) {
        // As open to the other users of a shared folder as the database is, as far as this
        // user may make it so: the lock serves whoever owns its file.
        takeOwnership(lockPath, databasePath);
        return made;
    }
    const int descriptor = ::open(path.constData(), O_RDWR | O_CLOEXEC);
    // A lock file that is there but not ours to write still serves: flock needs no write.
    return descriptor >= 0 ? descriptor : ::open(path.constData(), O_RDONLY | O_CLOEXEC);
}

} // namespace

DatabaseLock::DatabaseLock(const QString &databasePath, Mode mode) {
    if (databasePath.isEmpty() || !QFile::exists(databasePath))
        return;
    const int descriptor = openLockFile(databasePath);
    if (descriptor < 0)
        return;
    const int operation = mode == Mode::Shared ? LOCK_SH : LOCK_EX | LOCK_NB;
    int status;
    do
        status = ::flock(descriptor, operation);
    while (status != 0 && errno == EINTR);
    if (status == 0)
        m_descriptor = descriptor;
    else
        ::close(descriptor);
}

DatabaseLock::~DatabaseLock() {
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}
