#pragma once

#include <QString>

// The file a database name denotes. Names come from a platform that ignores letter case
// ("gzdb.mdb" is GZDB.mdb there), so the name is looked up without regard to case in its
// folder, relative to the working folder as the data module opens it. Gives the file's real
// path (symbolic links followed, so that whatever replaces the file replaces the real one),
// or empty text when no file or more than one file answers to the name: then nobody can say
// which file was meant, and the caller must leave them all alone.
QString findDatabaseFile(const QString &fileName);
