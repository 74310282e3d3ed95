#pragma once

#include "engineprogress.h"

#include <QString>

// Rewrites the database file into a compacted equivalent and puts it in place of the file,
// so that the room left by deleted rows does not pile up. Yes only when the file was
// replaced; no, silently, when anything stood in the way, and then the file is exactly as it
// was. Run it before any connection to the file is open.
//
// The engine writes the compacted copy beside the file and checks it; the file as it was
// becomes the backup (see databasebackup.h), and the copy then replaces it atomically (see
// filereplacement.h), so the file is written once and never in place. Nothing is done when
// the file is not one of this program's (see filemark.h), when another copy of the program
// has it (it holds DatabaseLock), when this user may not replace it (see mayReplace in
// filereplacement.h), when no backup can be kept, when the program is configured
// for a database server (see databaseaddress.h), or when `password` is not
// empty: SQLite files carry no password, so one that needs a password is not a file this
// program can open. `progress` is called now and then while the engine works.
bool compactDatabase(const QString &fileName, const QString &password,
                     const ProgressCallback &progress = {});
