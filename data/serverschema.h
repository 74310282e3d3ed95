#pragma once

#include <QStringList>

// The tables of data/schema.sql as a PostgreSQL server holds them: the one description of the
// payroll's tables serves both engines, and this turns its statements into the server's.
// Numbers are bigint (amounts stay exact ten-thousandths); the texts SQLite collates as NOCASE
// sort in pinyin order through ICU's Chinese collation; a key SQLite numbers by itself
// (INTEGER PRIMARY KEY) is drawn from an identity when an insert leaves it out, so that two
// clerks adding at the same moment never get the same number. The file's version and mark
// live in the table gz_layout.

// The server's statements for the schema's statements after layout `version` (0: all).
QStringList serverStatementsAfterVersion(int version);

// What brings a database of layout `version` made by an earlier program up to this one's, in
// one transaction: its keys numbered by a trigger are converted to identities that continue
// after the largest key, then the later layouts' statements follow.
QStringList serverUpgradeStatements(int version);

// A condition, for a select, true while the database's keys are still numbered by a trigger.
QString triggerNumberingFound();

// Statements that set every identity past the largest key its table holds: after rows were
// copied in with their numbers.
QStringList serverSequencesPastKeys();

// The table that holds the server database's layout version and mark; not a payroll table.
inline constexpr const char *serverLayoutTable = "gz_layout";

// Statements that create the connection's own worksheet, a temporary Temp_GZB.
QStringList serverWorksheetStatements();

// The column SQLite numbers rows of `table` by (its INTEGER PRIMARY KEY), in whose order it
// lists the table when a statement asks for no order; empty for a table without one.
QString numberedKeyOf(const QString &table);
