#include "backupfolder.h"

#include "filereplacement.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <sys/stat.h>
#include <tuple>

namespace {

constexpr int newestKept = 10;
constexpr int daysKept = 30;
// Running numbers have at least this many digits; numbers of fewer digits count backups made
// within the same second, from before numbering.
constexpr int numberWidth = 4;

const QString momentFormat = QStringLiteral("yyyy-MM-dd-HHmmss");
const QString partialSuffix = QStringLiteral(".partial");

quint32 bigEndian(const QByteArray &bytes, int at, int size) {
    quint32 value = 0;
    for (int i = 0; i < size; ++i)
        value = value << 8 | quint8(bytes[at + i]);
    return value;
}

// What the engine's file header says of the file's length, checked against the file: a file
// cut short, or never begun, is not a database.
bool isWholeDatabase(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(100);
    if (header.size() < 100 || !header.startsWith(QByteArray("SQLite format 3", 16)))
        return false;
    const quint32 pageSizeField = bigEndian(header, 16, 2);
    const qint64 pageSize = pageSizeField == 1 ? 65536 : pageSizeField;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        return false;
    const qint64 size = file.size();
    const quint32 pages = bigEndian(header, 28, 4);
    // The page count is valid only when written by the same change as the header's counter.
    if (pages != 0 && bigEndian(header, 24, 4) == bigEndian(header, 92, 4))
        return size == pages * pageSize;
    return size > 0 && size % pageSize == 0;
}

} // namespace

BackupFolder::BackupFolder(const QString &databasePath) : m_database(databasePath) {
    const QFileInfo database(databasePath);
    m_folder = QDir(database.dir().filePath(QStringLiteral("backup")));
    m_baseName = database.completeBaseName();
    m_suffix = database.suffix();
}

bool BackupFolder::create() const {
    if (m_folder.exists())
        return true;
    if (!m_folder.mkpath(QStringLiteral(".")))
        return false;
    // Beside a database several users share, it must be as open to each of them as the folder
    // that holds it.
    if (takeOwnership(m_folder.path(), QFileInfo(m_database).absolutePath()))
        return true;
    QDir().rmdir(m_folder.path());
    return false;
}

namespace {

// Every name a backup and its writers use: the backup, its partial file, and the journals
// the engine keeps beside either.
QRegularExpression anyBackupName(const QString &baseName, const QString &suffix) {
    return QRegularExpression(
        QStringLiteral(
            "^%1-(\\d{4}-\\d{2}-\\d{2}-\\d{6})(?:-(\\d+))?\\.%2(%3)?(-journal|-wal|-shm)?$")
            .arg(QRegularExpression::escape(baseName), QRegularExpression::escape(suffix),
                 QRegularExpression::escape(partialSuffix)));
}

qint64 runningNumber(const QRegularExpressionMatch &match) {
    const QString number = match.captured(2);
    return number.size() >= numberWidth ? number.toLongLong() : 0;
}

} // namespace

QString BackupFolder::nextBackup(const QDateTime &moment) const {
    const QRegularExpression pattern = anyBackupName(m_baseName, m_suffix);
    qint64 last = 0;
    for (const QString &name : m_folder.entryList(QDir::Files | QDir::Hidden))
        if (const QRegularExpressionMatch match = pattern.match(name); match.hasMatch())
            last = std::max(last, runningNumber(match));
    return m_folder.filePath(QStringLiteral("%1-%2-%3.%4")
                                 .arg(m_baseName, moment.toString(momentFormat))
                                 .arg(last + 1, numberWidth, 10, QLatin1Char('0'))
                                 .arg(m_suffix));
}

QString BackupFolder::partialName(const QString &backupPath) {
    return backupPath + partialSuffix;
}

namespace {

bool isSameFile(const QString &a, const QString &b) {
    struct stat first {};
    struct stat second {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace

// A backup with a journal beside it was still being written.
bool BackupFolder::isComplete(const QRegularExpressionMatch &match, const QString &path) const {
    return !match.hasCaptured(3) && !match.hasCaptured(4) &&
           !QFileInfo::exists(path + QStringLiteral("-journal")) && isWholeDatabase(path) &&
           !isSameFile(path, m_database);
}

QList<BackupFolder::Backup> BackupFolder::backups() const {
    const QRegularExpression pattern = anyBackupName(m_baseName, m_suffix);
    QList<Backup> found;
    for (const QString &name : m_folder.entryList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch match = pattern.match(name);
        const QString path = m_folder.filePath(name);
        if (!match.hasMatch() || !isComplete(match, path))
            continue;
        const qint64 number = runningNumber(match);
        found.push_back(
            {path, QDate::fromString(match.captured(1).left(10), QStringLiteral("yyyy-MM-dd")),
             number, match.captured(1), number == 0 ? match.captured(2).toInt() : 0});
    }
    std::sort(found.begin(), found.end(), [](const Backup &a, const Backup &b) {
        return std::tie(a.number, a.moment, a.sameSecond) <
               std::tie(b.number, b.moment, b.sameSecond);
    });
    return found;
}

void BackupFolder::removeLeftovers() const {
    removeUnfinishedReplacements(m_folder.path());
    const QRegularExpression pattern = anyBackupName(m_baseName, m_suffix);
    // All judged before any is removed: a backup's journal tells that the backup is partial.
    QStringList leftovers;
    for (const QString &name : m_folder.entryList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch match = pattern.match(name);
        const QString path = m_folder.filePath(name);
        if (match.hasMatch() && !isComplete(match, path))
            leftovers << path;
    }
    for (const QString &path : leftovers)
        QFile::remove(path);
}

void BackupFolder::prune(const QString &justMade, const QDateTime &now) const {
    const QList<Backup> all = backups();
    QSet<QString> kept{QFileInfo(justMade).fileName()};
    for (qsizetype i = std::max<qsizetype>(0, all.size() - newestKept); i < all.size(); ++i)
        kept.insert(QFileInfo(all[i].path).fileName());
    // The newest of a day is the last of that day in the order of making.
    const QDate today = now.date();
    QSet<QDate> daysSeen;
    for (auto backup = all.crbegin(); backup != all.crend(); ++backup) {
        const qint64 age = backup->day.daysTo(today);
        if (age >= 0 && age < daysKept && !daysSeen.contains(backup->day)) {
            daysSeen.insert(backup->day);
            kept.insert(QFileInfo(backup->path).fileName());
        }
    }
    for (const Backup &backup : all)
        if (!kept.contains(QFileInfo(backup.path).fileName()))
            QFile::remove(backup.path);
}
