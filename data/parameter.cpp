#include "parameter.h"

#include "amountcolumns.h"

namespace {

struct PlainValue {
    QVariant operator()(std::monostate) const { return {}; }
    QVariant operator()(const QString &v) const { return v; }
    QVariant operator()(std::int64_t v) const { return qlonglong(v); }
    QVariant operator()(double v) const { return v; }
    QVariant operator()(bool v) const { return qlonglong(v ? 1 : 0); }
    QVariant operator()(Currency v) const { return v.toDouble(); }
};

struct AmountValue {
    QVariant operator()(std::monostate) const { return {}; }
    QVariant operator()(const QString &v) const {
        // A typed amount such as "12.5"; anything else goes to the engine to reject.
        bool ok = false;
        const double yuan = v.trimmed().toDouble(&ok);
        return ok ? units(Currency::fromDouble(yuan)) : QVariant(v);
    }
    QVariant operator()(std::int64_t v) const {
        return units(Currency::fromYuan(v));
    }
    QVariant operator()(double v) const { return units(Currency::fromDouble(v)); }
    QVariant operator()(bool v) const { return qlonglong(v ? 1 : 0); }
    QVariant operator()(Currency v) const { return units(v); }

    static QVariant units(Currency v) { return qlonglong(v.units()); }
};

} // namespace

QVariant Parameter::boundValue() const {
    if (isAmountColumn(m_name))
        return std::visit(AmountValue{}, m_value);
    return std::visit(PlainValue{}, m_value);
}
