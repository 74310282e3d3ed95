#pragma once

#include <QString>

// Rewrites the database file into a compacted equivalent and puts it in place of the file,
// so that the room left by deleted rows does not pile up. Yes only when the file was
// replaced; no, silently, when anything stood in the way, and then the file is exactly as it
// was. Run it before any connection to the file is open.
//
// The engine writes the compacted copy as a backup first (see databasebackup.h), checks
// it, and the copy then replaces the file atomically (see filereplacement.h). Nothing is
// done when another copy of the program has the file (it holds DatabaseLock), when no backup
// can be written, or when `password` is not empty: SQLite files carry no password, so one
// that needs a password is not a file this program can open.
bool compactDatabase(const QString &fileName, const QString &password);
