#pragma once

class QSqlDatabase;
struct sqlite3;

// The engine's own connection under Qt's: Qt keeps opening, closing and transactions, while
// statements, collations and traces work on the handle directly. Throws DbError when the
// connection is not a SQLite one.
sqlite3 *sqliteHandle(const QSqlDatabase &database);
