#pragma once

#include "dberror.h"

#include <QString>

class QSqlDatabase;
class QSqlError;

// What the clerk reads when a file, the disk or the engine fails: a sentence in Chinese that
// says what happened and what it means for their work, and beneath it the words of the
// engine or the system, untranslated, for whoever looks into the cause.

// `sentence`, then `detail` on a line of its own in brackets; the sentence alone when there is
// no detail.
QString withDetail(const QString &sentence, const QString &detail);

// A failure of the SQLite engine, said by its result code (extended or primary); the
// engine's own text is the detail. Codes that do not concern the file (a statement the engine
// refused, a rule of the schema) keep the engine's text alone, which is then the program's
// own or names the statement.
DbError sqliteFailure(int resultCode, const QString &engineText);

// The same for the failure `error` that Qt's driver reported on the connection `database`.
DbError sqliteFailure(const QSqlDatabase &database, const QSqlError &error);

// What the system said of the last call that failed (errno).
QString systemErrorText();
