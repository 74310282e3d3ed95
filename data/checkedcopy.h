#pragma once

#include "engineprogress.h"

#include <QString>

// Has the engine write a compacted copy of the database to `copyPath` (a file that is empty
// or not there) and checks the copy, flushed to disk. The engine reads the file as a
// connection would: a journal that a crash left beside it is rolled back first, so the copy
// is a whole database on its own. Only a file of this program's is copied (see filemark.h).
// No when anything failed; what is at `copyPath` then is the caller's to remove.
bool writeCheckedCopy(const QString &databasePath, const QString &copyPath,
                      const ProgressCallback &progress);
