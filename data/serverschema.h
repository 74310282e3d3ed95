#pragma once

#include <QStringList>

// The tables of data/schema.sql as a PostgreSQL server holds them: the one description of the
// payroll's tables serves both engines, and this turns its statements into the server's.
// Numbers are bigint (amounts stay exact ten-thousandths); the texts SQLite collates as NOCASE
// sort in pinyin order through ICU's Chinese collation; a key SQLite numbers by itself
// (INTEGER PRIMARY KEY) is numbered the same way, one past the largest, by a trigger. The
// file's version and mark live in the table gz_layout.

// The server's statements for the schema's statements after layout `version` (0: all).
QStringList serverStatementsAfterVersion(int version);

// The table that holds the server database's layout version and mark; not a payroll table.
inline constexpr const char *serverLayoutTable = "gz_layout";

// Statements that create the connection's own worksheet, a temporary Temp_GZB.
QStringList serverWorksheetStatements();

// The column SQLite numbers rows of `table` by (its INTEGER PRIMARY KEY), in whose order it
// lists the table when a statement asks for no order; empty for a table without one.
QString numberedKeyOf(const QString &table);
