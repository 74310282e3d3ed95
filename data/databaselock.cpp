#include "databaselock.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

int openLockFile(const QString &databasePath) {
    const QByteArray path = QFile::encodeName(databasePath + QStringLiteral(".lock"));
    const int descriptor = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
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
