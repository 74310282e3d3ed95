#pragma once

#include <QString>
#include <QStringList>

// The engines a statement can be written for.
enum class SqlDialect { Sqlite, Postgres };

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
