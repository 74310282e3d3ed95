#pragma once

#include <QString>
#include <QStringList>

// A statement as the windows write it (Jet SQL with ":name" parameters), turned into what
// SQLite runs: the forms SQLite lacks are rewritten and every parameter marker becomes a
// positional "?", so binding never depends on Qt's case-sensitive named binding.
struct TranslatedStatement {
    QString sql;
    QStringList parameterOrder; // one entry per "?", the name as written
};

TranslatedStatement translateStatement(const QString &jetText);

// The distinct parameter names of a statement, in order of first appearance, matched
// without regard to case. Markers inside quoted literals are not parameters.
QStringList parameterNames(const QString &jetText);
