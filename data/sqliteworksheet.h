#pragma once

class QSqlDatabase;

// Gives a SQLite connection a worksheet of its own: a TEMP table named Temp_GZB, with the
// columns and index data/schema.sql declares for it, created when the connection opens.
// SQLite finds a TEMP table before a table of the file of the same name, so every unqualified
// statement on this connection works on it; no other connection, and so no other copy of the
// program, can see or empty it, and it goes with the connection. The file's own Temp_GZB
// stays for older programs and is never used. Throws DbError.
void createConnectionWorksheet(QSqlDatabase &database);
