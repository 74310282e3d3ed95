#pragma once

#include <QStringList>

// The statements of data/schema.sql, as the program carries it, without comments: the one
// description of the file, read by the set-up tool to create it and by a connection to build
// its own worksheet. Returns an empty list when the schema is missing from the program.
QStringList schemaStatements();

// The statements the schema adds after layout `version` (its "-- Version N" lines start each
// version's additions), in order: what upgrading a file of that version runs.
QStringList statementsAfterVersion(int version);
