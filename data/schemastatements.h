#pragma once

#include <QStringList>

// The statements of data/schema.sql, as the program carries it, without comments: the one
// description of the file, read by the set-up tool to create it and by a connection to build
// its own worksheet. Returns an empty list when the schema is missing from the program.
QStringList schemaStatements();
