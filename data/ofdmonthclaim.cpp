#include "ofdmonthclaim.h"

#include "dberror.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Sets or clears the lock on the month's byte; false when another description holds it.
bool lockByte(int descriptor, off_t offset, short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = offset;
    lock.l_len = 1;
    int status;
    do
        status = ::fcntl(descriptor, F_OFD_SETLK, &lock);
    while (status != 0 && errno == EINTR);
    if (status == 0)
        return true;
    if (errno == EAGAIN || errno == EACCES)
        return false;
    throw DbError(QStringLiteral("Cannot lock the month in the lock file: %1").arg(systemError()));
}

off_t monthOffset(const QString &month) {
    bool ok = false;
    const qlonglong offset = month.toLongLong(&ok);
    if (!ok || offset < 0)
        throw DbError(QStringLiteral("'%1' is not a month key").arg(month));
    return off_t(offset);
}

} // namespace

OfdMonthClaim::OfdMonthClaim(QString databasePath)
    : m_lockPath(databasePath + QStringLiteral(".months")),
      m_databasePath(std::move(databasePath)) {}

OfdMonthClaim::~OfdMonthClaim() {
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

int OfdMonthClaim::descriptor() {
    if (m_opened)
        return m_descriptor;
    const QByteArray path = QFile::encodeName(m_lockPath);
    // Every clerk of a shared folder must be able to lock it, whoever made it first.
    int made = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (made >= 0)
        ::fchmod(made, 0666);
    m_descriptor = made >= 0 ? made : ::open(path.constData(), O_RDWR | O_CLOEXEC);
    if (m_descriptor < 0 && QFileInfo(m_databasePath).isWritable())
        throw DbError(QStringLiteral("Cannot open %1: %2").arg(m_lockPath, systemError()));
    m_opened = true;
    return m_descriptor;
}

bool OfdMonthClaim::claim(const QString &month) {
    if (month == m_held)
        return true;
    const off_t offset = monthOffset(month);
    release();
    const int file = descriptor();
    if (file >= 0 && !lockByte(file, offset, F_WRLCK))
        return false;
    m_held = month;
    return true;
}

void OfdMonthClaim::release() {
    if (m_held.isEmpty())
        return;
    if (m_descriptor >= 0)
        lockByte(m_descriptor, monthOffset(m_held), F_UNLCK);
    m_held.clear();
}
