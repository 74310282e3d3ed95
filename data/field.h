#pragma once

#include "currency.h"
#include "resultset.h"

#include <QString>

// One value of a result, read the ways the windows read it. A null reads as empty text, 0,
// or no. Amount columns hold ten-thousandths and read back as whole amounts.
class Field {
public:
    Field(const ResultSet &result, int row, int column)
        : m_result(&result), m_row(row), m_column(column) {}

    bool isNull() const;
    bool isAmount() const { return m_result->isAmountColumn(m_column); }
    QString asString() const;
    qint64 asInteger() const;
    double asFloat() const;
    Currency asCurrency() const;
    bool asBoolean() const;

private:
    ResultSet::Kind kind() const { return m_result->kind(m_row, m_column); }

    const ResultSet *m_result;
    int m_row;
    int m_column;
};
