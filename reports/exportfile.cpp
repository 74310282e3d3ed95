#include "exportfile.h"

#include "filemessages.h"
#include "filesync.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

ExportFile::ExportFile(const QString &path)
    : m_path(path), m_partial(QFileInfo(path).absolutePath() + QStringLiteral("/.") +
                              QFileInfo(path).fileName() + QStringLiteral(".XXXXXX")) {
    if (!m_partial.open())
        fail(m_partial.errorString());
    // A saved report is an ordinary file, readable by others like any the operator makes.
    m_partial.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                             QFile::ReadOther);
}

void ExportFile::check() const {
    if (m_partial.error() != QFileDevice::NoError)
        fail(m_partial.errorString());
}

void ExportFile::commit() {
    if (m_partial.isOpen()) {
        if (!m_partial.flush())
            fail(m_partial.errorString());
        check();
        if (::fsync(m_partial.handle()) != 0)
            fail(systemError());
        m_partial.close();
    } else if (!syncFile(m_partial.fileName())) {
        // Written by name, by a writer that has closed it.
        fail(systemError());
    }
    if (std::rename(QFile::encodeName(m_partial.fileName()).constData(),
                    QFile::encodeName(QFileInfo(m_path).absoluteFilePath()).constData()) != 0)
        fail(systemError());
    m_partial.setAutoRemove(false);
    // The file is complete under its name; a failed flush of the folder only means a crash
    // in the next moments could bring back what was there before, which is whole too.
    syncFolder(QFileInfo(m_path).absolutePath());
}

void ExportFile::fail(const QString &reason) const {
    throw ExportError(QStringLiteral("%1: %2")
                          .arg(QDir::toNativeSeparators(m_path),
                               withDetail(QStringLiteral("文件没有保存。"), reason))
                          .toStdString());
}
