#pragma once

#include <QDateTime>
#include <QString>

// Backups of the database file in the folder "backup" beside it, one file per backup named
// after the file and the moment ("GZDB-2026-12-10-083015.mdb"), so that a clerk who finds
// something wrong can go back to an earlier day's file by copying it into place.

// Writes a backup of the database as it is at `moment` and checks it. The engine writes it
// (VACUUM INTO), never a raw copy: a journal that a crash left beside the file is rolled
// back first, and the backup is a whole database on its own, with the database's
// permissions. Gives the backup's path, or empty text when none could be written; nothing
// half-written is left behind.
QString backUpDatabase(const QString &databasePath, const QDateTime &moment);

// Removes all but the newest `keep` backups of the database; other files in the folder stay.
void keepNewestBackups(const QString &databasePath, int keep);
