#pragma once

class QSqlDatabase;

// Makes the text columns declared COLLATE NOCASE in data/schema.sql sort Chinese in pinyin
// order on this connection, as a Chinese clerk expects names and departments to be listed
// (办公室, 财务科, 技术部, 销售部), while every statement keeps its plain "order by".
//
// The collation replaces SQLite's built-in NOCASE for this connection only: the file stays a
// plain SQLite database, and any other SQLite program reads it with the built-in NOCASE (code
// point order, ASCII case ignored). Two texts are equal exactly when the built-in NOCASE
// finds them equal, so comparisons and grouping mean the same in both; only the order of
// unequal texts differs. No index may be built on these columns: it would be ordered by
// whichever definition built it. Throws DbError.
void usePinyinOrder(QSqlDatabase &database);
