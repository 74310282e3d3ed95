#pragma once

#include <QString>
#include <QStringList>

// What data/schema.sql says identifies a row of a table and which of its columns always hold
// a value: what ordering a statement's rows completely, on either engine, rests on.

// The columns that tell one row of `table` from every other (its primary key, else its unique
// index), lower case; empty for a table the schema does not name or that has no key.
QStringList tableKeyOf(const QString &table);

// Whether `column` of `table` is declared so that it can never be null (NOT NULL, or the key
// of a table, which both engines fill).
bool columnIsNeverNull(const QString &table, const QString &column);
