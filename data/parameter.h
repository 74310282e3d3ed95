#pragma once

#include "currency.h"

#include <QString>
#include <cstdint>
#include <variant>

class EngineStatement;

// One ":name" of a statement and the value set for it. The kind of value chosen sets the
// type bound: text, integer, floating, yes/no or an exact amount.
class Parameter {
public:
    explicit Parameter(QString name);

    const QString &name() const { return m_name; }
    bool hasValue() const { return !std::holds_alternative<std::monostate>(m_value); }

    void setText(const QString &value) { m_value = value; }
    void setInteger(std::int64_t value) { m_value = value; }
    void setFloat(double value) { m_value = value; }
    void setBoolean(bool value) { m_value = value; }
    void setCurrency(Currency value) { m_value = value; }

    // Binds the value to the statement's `position` (from 1). Parameters named like an amount
    // column (AmountColumns) take their value in yuan and bind it in ten-thousandths, rounded
    // to the nearest; an amount bound to any other name is an error (DbError).
    void bindTo(EngineStatement &statement, int position) const;

private:
    QString m_name;
    bool m_amount; // named like an amount column
    std::variant<std::monostate, QString, std::int64_t, double, bool, Currency> m_value;
};
