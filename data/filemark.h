#pragma once

class QSqlDatabase;
class QString;

// The mark in the file's header (SQLite's application id, set by data/schema.sql) that tells
// this program's database files from any other file: a stray empty file or another program's
// SQLite database under the name GZDB.mdb must never be compacted, backed up or written. The
// value spells "GZDB".
constexpr int payrollFileMark = 0x475A4442;

// Lets the connection go on only with one of this program's files. A file of layout version 1
// holding the program's tables was made before files were marked: it is recognised and marked
// here, once (a file that cannot be written stays unmarked, and may still be read). Anything
// else throws DbError "GZDB.mdb 不是本系统的数据库文件！" (with the file's name) before a
// statement touches it. Whether the program knows the file's layout version is for the caller
// to check afterwards.
void claimPayrollFile(QSqlDatabase &database, const QString &fileName);

// Whether the connected file carries the mark. Throws DbError.
bool carriesPayrollMark(QSqlDatabase &database);
