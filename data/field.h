#pragma once

#include "currency.h"
#include "resultset.h"

#include <QString>

// One value of a result, read the ways the windows read it. A null reads as empty text, 0,
// or no; so does the field of a closed query, which has no rows. Amount columns hold
// ten-thousandths and read back as whole amounts; only they can be read as currency.
class Field {
public:
    // The field of a query without a result.
    Field() = default;
    // Row -1 is "no current row" and reads as null; any other position outside the result is
    // an error (DbError), never a read outside it.
    Field(const ResultSet &result, int row, int column);

    bool isNull() const;
    bool isAmount() const { return m_result && m_result->isAmountColumn(m_column); }
    // A whole number as the engine holds it; a number kept as text (a month key) is none.
    bool isInteger() const;
    QString asString() const;
    qint64 asInteger() const;
    // An integer as the database holds it, an amount in ten-thousandths: for copying a row
    // from one database to another unchanged.
    qint64 asStoredInteger() const;
    double asFloat() const;
    Currency asCurrency() const;
    bool asBoolean() const;

private:
    ResultSet::Kind kind() const { return m_result->kind(m_row, m_column); }

    const ResultSet *m_result = nullptr;
    int m_row = -1;
    int m_column = -1;
};
