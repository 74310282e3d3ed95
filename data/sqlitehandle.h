#pragma once

class QSqlDatabase;
struct sqlite3;

// The engine's own handle behind an open connection, for what Qt's driver does not offer
// (collations, progress calls). Throws DbError when the connection is not SQLite's.
sqlite3 *sqliteHandle(const QSqlDatabase &database);
