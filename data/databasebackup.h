#pragma once

#include "engineprogress.h"

#include <QDateTime>
#include <QString>

// Backups of the database file in the folder "backup" beside it (see backupfolder.h), so
// that a clerk who finds something wrong can go back to an earlier day's file by copying it
// into place. Each backup is a whole database on its own, with the database's owner, group and
// permissions, and appears under its name only once it is complete; nothing half-written stays
// behind. Only a file of this program's is backed up (see filemark.h). A backup only adds a file
// to the folder: the start-up compaction writes its backup holding DatabaseLock exclusively,
// the upgrade of an older layout while the program's own connection holds the file.

// Writes a compacted copy of the database as it is at `moment` through the engine, checks it,
// and gives it its backup name. For a change that is about to be made to the file in place.
// Gives the backup's path, or empty text when none could be written.
QString backUpDatabase(const QString &databasePath, const QDateTime &moment,
                       const ProgressCallback &progress = {});

// Makes the database file itself a backup, by giving it a second name in the backup folder
// (a copy where the disk offers no second names), at no cost in time or room. Only for a
// file that is then replaced and never written again: what is written to the file would be
// written to the backup. The caller makes sure no journal of the file is pending. Gives the
// backup's path, or empty text.
QString keepFileAsBackup(const QString &databasePath, const QDateTime &moment);
