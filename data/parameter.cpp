#include "parameter.h"

#include "amountcolumns.h"

#include <sqlite3.h>

namespace {

int bindText(sqlite3_stmt *statement, int position, const QString &text) {
    const QByteArray utf8 = text.toUtf8();
    return sqlite3_bind_text(statement, position, utf8.constData(), int(utf8.size()),
                             SQLITE_TRANSIENT);
}

struct PlainValue {
    sqlite3_stmt *statement;
    int position;
    int operator()(std::monostate) const { return sqlite3_bind_null(statement, position); }
    int operator()(const QString &v) const { return bindText(statement, position, v); }
    int operator()(std::int64_t v) const { return sqlite3_bind_int64(statement, position, v); }
    int operator()(double v) const { return sqlite3_bind_double(statement, position, v); }
    int operator()(bool v) const { return sqlite3_bind_int64(statement, position, v ? 1 : 0); }
    int operator()(Currency v) const {
        return sqlite3_bind_double(statement, position, v.toDouble());
    }
};

struct AmountValue {
    sqlite3_stmt *statement;
    int position;
    int operator()(std::monostate) const { return sqlite3_bind_null(statement, position); }
    int operator()(const QString &v) const {
        // A typed amount such as "12.5"; anything else goes to the engine to reject.
        bool ok = false;
        const double yuan = v.trimmed().toDouble(&ok);
        return ok ? units(Currency::fromDouble(yuan)) : bindText(statement, position, v);
    }
    int operator()(std::int64_t v) const { return units(Currency::fromYuan(v)); }
    int operator()(double v) const { return units(Currency::fromDouble(v)); }
    int operator()(bool v) const { return sqlite3_bind_int64(statement, position, v ? 1 : 0); }
    int operator()(Currency v) const { return units(v); }

    int units(Currency v) const { return sqlite3_bind_int64(statement, position, v.units()); }
};

} // namespace

Parameter::Parameter(QString name) : m_name(std::move(name)), m_amount(isAmountColumn(m_name)) {}

int Parameter::bindTo(sqlite3_stmt *statement, int position) const {
    if (m_amount)
        return std::visit(AmountValue{statement, position}, m_value);
    return std::visit(PlainValue{statement, position}, m_value);
}
