#pragma once

#include <QString>
#include <QStringList>

// The engines a statement can be written for.
enum class SqlDialect { Sqlite, Postgres };

// What the engines genuinely read differently. A statement new code writes keeps to what both
// read alike and asks for these by name (Query::fragment), rather than being written for one
// engine and rewritten for the other; the rewriting of the windows' inherited forms and the
// server's tables use the same words.
enum class SqlFragment {
    CaseBlindLike,   // "like" that ignores the case of ASCII letters
    PinyinCollation, // the collation that sorts Chinese names in pinyin order, for "collate"
    NumberedKey,     // a key column's type, numbered by the engine when an insert leaves it out
    DatabaseUser,    // the name the database knows the session's user by, as text; null on a
                     // file, which knows no users
    LocalTime,       // the database's date and time now, as text "yyyy-MM-dd hh:mm:ss"
};

QString sqlFragment(SqlFragment fragment, SqlDialect dialect);

// A statement as the windows write it (Jet SQL with ":name" parameters), turned into what an
// engine runs: the forms it lacks or reads differently are rewritten, and every parameter
// marker becomes a positional one ("?" for SQLite, "$1", "$2", ... for PostgreSQL), so that
// binding never depends on a driver's handling of names.
struct TranslatedStatement {
    QString sql;
    QStringList parameterOrder; // one entry per marker, the name as written
};

TranslatedStatement translateStatement(const QString &jetText, SqlDialect dialect);

// The distinct parameter names of a statement, in order of first appearance, matched
// without regard to case. Markers inside quoted literals are not parameters.
QStringList parameterNames(const QString &jetText);
