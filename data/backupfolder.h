#pragma once

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QList>
#include <QString>

class QRegularExpressionMatch;

// The folder "backup" beside the database file and the backups in it, one file per backup,
// named after the database file, the moment and a running number:
// "GZDB-2026-12-10-083015-0042.mdb". The number, one more than any other in the folder, is
// the real order in which the backups were made, whatever the clock said at the time; the
// moment is what a clerk looks for. Backups named before numbering ("GZDB-2026-12-10-083015.mdb",
// "GZDB-2026-12-10-083015-2.mdb" for a second one within the same second) are older than every
// numbered one, and in the order of their moments among themselves.
//
// A backup appears under such a name only once it is whole: writers make it under its
// partial name (the name followed by ".partial") and rename it when complete and checked.
class BackupFolder {
public:
    explicit BackupFolder(const QString &databasePath);

    QString path() const { return m_folder.path(); }
    // Makes the folder if it is not there, with the owner, group and permissions of the
    // database's folder. Yes when it is there.
    bool create() const;

    // The path for a new backup made at `moment`, numbered after every file in the folder.
    QString nextBackup(const QDateTime &moment) const;
    static QString partialName(const QString &backupPath);

    struct Backup {
        QString path;
        QDate day;
        qint64 number = 0; // 0 when named before numbering
        QString moment;
        int sameSecond = 0;
    };
    // The complete backups, oldest first.
    QList<Backup> backups() const;

    // Removes what interrupted or failed writers left: partial backups, the engine's
    // journals, files under a backup's name that are not a whole database (a writer of an
    // earlier version of the program, killed, left those), and a second name of the database
    // file itself (a compaction killed before it replaced the file left that: it would
    // change with the file). Files of other names are the clerk's and stay. Only while no
    // backup of the file can be in the making.
    void removeLeftovers() const;

    // Keeps `justMade`, the ten newest backups and the newest backup of each of the thirty
    // days up to `now`'s, and removes the other complete backups.
    void prune(const QString &justMade, const QDateTime &now) const;

private:
    bool isComplete(const QRegularExpressionMatch &match, const QString &path) const;

    QString m_database;
    QDir m_folder;
    QString m_baseName;
    QString m_suffix;
};
