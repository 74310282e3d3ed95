#pragma once

#include "dberror.h"

#include <QString>

// The layout of GZDB.mdb this program reads and writes, as data/schema.sql stamps it into the
// file's user_version. A file of a later version was made by a newer program: its meaning is
// unknown here, so nothing may read or write it.
constexpr int schemaVersion = 3;

// The refusal of the database `shownName`, whose layout `version` is newer than this program's.
DbError newerLayoutError(const QString &shownName, int version);
