#include "ofdmonthclaim.h"

#include "dberror.h"
#include "filemessages.h"
#include "ofdlockbytes.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

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
    throw DbError(withDetail(QStringLiteral("无法锁定本月，其他操作员可能正在录入同一个月。"),
                             systemErrorText()));
}

off_t monthOffset(const QString &month) {
    bool ok = false;
    const qlonglong key = month.toLongLong(&ok);
    if (!ok || key < 0 || key >= monthClaimsStart)
        throw DbError(QStringLiteral("“%1”不是月份。").arg(month));
    return monthClaimsStart + off_t(key);
}

} // namespace

OfdMonthClaim::OfdMonthClaim(QString databasePath) : m_databasePath(std::move(databasePath)) {}

OfdMonthClaim::~OfdMonthClaim() {
    // Closing any descriptor of a file drops every classic record lock the process holds on
    // it, the engine's too: the connection's owner closes the connection first.
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

int OfdMonthClaim::descriptor() {
    if (m_opened)
        return m_descriptor;
    // A write lock needs a description open for writing; never O_CREAT: a missing file is
    // the engine's error, not an empty file to claim months in.
    m_descriptor = ::open(QFile::encodeName(m_databasePath).constData(), O_RDWR | O_CLOEXEC);
    if (m_descriptor < 0 && errno != EACCES && errno != EROFS)
        throw DbError(
            withDetail(QStringLiteral("无法打开数据库文件，不能锁定本月。"), systemErrorText()));
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
