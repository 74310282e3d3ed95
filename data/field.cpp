#include "field.h"

#include "dberror.h"

#include <cmath>

using Kind = ResultSet::Kind;

Field::Field(const ResultSet &result, int row, int column)
    : m_result(&result), m_row(row), m_column(column) {
    if (column < 0 || column >= result.columnCount() || row < -1 || row >= result.rowCount())
        throw DbError(QStringLiteral("Row %1, column %2 lies outside the result of %3 rows and "
                                     "%4 columns")
                          .arg(row)
                          .arg(column)
                          .arg(result.rowCount())
                          .arg(result.columnCount()));
}

bool Field::isNull() const {
    return !m_result || m_row < 0 || kind() == Kind::Null;
}

bool Field::isInteger() const {
    return m_result && m_row >= 0 && kind() == Kind::Integer;
}

// Only an amount column holds ten-thousandths. Any other number (a count, an unaliased or
// renamed sum) has no scale this layer knows, and guessing one would be off by 10,000.
Currency Field::asCurrency() const {
    if (!m_result)
        return {};
    if (!isAmount())
        throw DbError(QStringLiteral("程序有误：字段 %1 不是金额列，不能作为金额读取。")
                          .arg(m_result->columnName(m_column)));
    if (isNull())
        return {};
    switch (kind()) {
    case Kind::Integer:
        return Currency::fromUnits(m_result->integer(m_row, m_column));
    case Kind::Real: {
        // An average or a quotient of amounts, still in ten-thousandths.
        const double value = m_result->real(m_row, m_column);
        return Currency::fromDouble(value / Currency::unitsPerYuan);
    }
    case Kind::Text: {
        bool ok = false;
        const double value = m_result->text(m_row, m_column).toDouble(&ok);
        if (!ok)
            throw DbError(QStringLiteral("'%1' is not a valid currency value").arg(asString()));
        return Currency::fromDouble(value);
    }
    case Kind::Null:
        break;
    }
    return {};
}

QString Field::asString() const {
    if (isNull())
        return {};
    if (m_result->isAmountColumn(m_column) && kind() != Kind::Text)
        return asCurrency().toPlainText();
    switch (kind()) {
    case Kind::Integer:
        return QString::number(m_result->integer(m_row, m_column));
    case Kind::Real:
        return QString::number(m_result->real(m_row, m_column), 'g', 15);
    case Kind::Text:
        return m_result->text(m_row, m_column).toString();
    case Kind::Null:
        break;
    }
    return {};
}

qint64 Field::asInteger() const {
    if (isNull())
        return 0;
    if (m_result->isAmountColumn(m_column) || kind() == Kind::Real)
        return std::llround(asFloat());
    if (kind() == Kind::Integer)
        return m_result->integer(m_row, m_column);
    bool ok = false;
    const qint64 value = m_result->text(m_row, m_column).trimmed().toLongLong(&ok);
    if (!ok)
        throw DbError(QStringLiteral("'%1' is not a valid integer value").arg(asString()));
    return value;
}

qint64 Field::asStoredInteger() const {
    if (!isNull() && kind() == Kind::Integer)
        return m_result->integer(m_row, m_column);
    return asInteger();
}

double Field::asFloat() const {
    if (isNull())
        return 0;
    if (m_result->isAmountColumn(m_column))
        return asCurrency().toDouble();
    switch (kind()) {
    case Kind::Integer:
        return double(m_result->integer(m_row, m_column));
    case Kind::Real:
        return m_result->real(m_row, m_column);
    case Kind::Text: {
        bool ok = false;
        const double value = m_result->text(m_row, m_column).toDouble(&ok);
        if (!ok)
            throw DbError(
                QStringLiteral("'%1' is not a valid floating point value").arg(asString()));
        return value;
    }
    case Kind::Null:
        break;
    }
    return 0;
}

bool Field::asBoolean() const {
    if (isNull())
        return false;
    switch (kind()) {
    case Kind::Integer:
        return m_result->integer(m_row, m_column) != 0;
    case Kind::Real:
        return m_result->real(m_row, m_column) != 0;
    case Kind::Text: {
        const QStringView text = m_result->text(m_row, m_column);
        if (text.compare(u"true", Qt::CaseInsensitive) == 0 || text == u"1")
            return true;
        if (text.compare(u"false", Qt::CaseInsensitive) == 0 || text == u"0")
            return false;
        throw DbError(QStringLiteral("'%1' is not a valid boolean value").arg(asString()));
    }
    case Kind::Null:
        break;
    }
    return false;
}
