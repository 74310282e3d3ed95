#include "databasebackup.h"

#include "connection.h"
#include "dberror.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>
#include <algorithm>
#include <tuple>
#include <vector>

namespace {

QDir backupFolder(const QString &databasePath) {
    return QDir(QFileInfo(databasePath).dir().filePath(QStringLiteral("backup")));
}

// "GZDB-2026-12-10-083015.mdb", then "GZDB-2026-12-10-083015-2.mdb" for a second backup
// within the same second.
QRegularExpression backupName(const QFileInfo &database) {
    return QRegularExpression(QStringLiteral("^%1-(\\d{4}-\\d{2}-\\d{2}-\\d{6})(?:-(\\d+))?\\.%2$")
                                  .arg(QRegularExpression::escape(database.completeBaseName()),
                                       QRegularExpression::escape(database.suffix())));
}

// Claims a new, empty file for the backup, readable by no one who cannot read the database:
// a payroll kept private must not be copied where others can read it.
QString claimBackupFile(const QDir &folder, const QFileInfo &database, const QDateTime &moment) {
    const QString stem = database.completeBaseName() + QLatin1Char('-') +
                         moment.toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    const QString suffix = QLatin1Char('.') + database.suffix();
    for (int number = 1; number <= 100; ++number) {
        const QString path = folder.filePath(
            stem + (number == 1 ? QString() : QStringLiteral("-%1").arg(number)) + suffix);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly, database.permissions()))
            return path;
        if (!QFileInfo::exists(path))
            return {};
    }
    return {};
}

bool isSound(const QString &path) {
    Connection connection(path);
    QSqlQuery check(connection.database());
    return check.exec(QStringLiteral("PRAGMA integrity_check")) && check.next() &&
           check.value(0).toString() == QStringLiteral("ok") && !check.next();
}

bool writeThroughEngine(const QString &databasePath, const QString &backupPath) {
    Connection source(databasePath);
    QSqlQuery vacuum(source.database());
    if (!vacuum.prepare(QStringLiteral("VACUUM INTO ?")))
        return false;
    vacuum.addBindValue(backupPath);
    return vacuum.exec();
}

} // namespace

QString backUpDatabase(const QString &databasePath, const QDateTime &moment) {
    const QFileInfo database(databasePath);
    const QDir folder = backupFolder(databasePath);
    if (!folder.mkpath(QStringLiteral(".")))
        return {};
    const QString path = claimBackupFile(folder, database, moment);
    if (path.isEmpty())
        return {};
    try {
        if (writeThroughEngine(databasePath, path) && isSound(path))
            return path;
    } catch (const DbError &) {
        // Not a database, or the engine could not open it: no backup.
    }
    QFile::remove(path);
    return {};
}

void keepNewestBackups(const QString &databasePath, int keep) {
    QDir folder = backupFolder(databasePath);
    const QRegularExpression pattern = backupName(QFileInfo(databasePath));
    struct Backup {
        QString stamp;
        int number;
        QString name;
    };
    std::vector<Backup> backups;
    for (const QString &name : folder.entryList(QDir::Files)) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (match.hasMatch())
            backups.push_back({match.captured(1), match.captured(2).toInt(), name});
    }
    if (std::ssize(backups) <= keep)
        return;
    std::sort(backups.begin(), backups.end(), [](const Backup &a, const Backup &b) {
        return std::tie(a.stamp, a.number) > std::tie(b.stamp, b.number);
    });
    for (auto old = backups.begin() + keep; old != backups.end(); ++old)
        folder.remove(old->name);
}
