#include "parameter.h"

#include "amountcolumns.h"
#include "dberror.h"
#include "engine.h"

namespace {

struct PlainValue {
    const QString &name;
    EngineStatement &statement;
    int position;
    void operator()(std::monostate) const { statement.bindNull(position); }
    void operator()(const QString &v) const { statement.bindText(position, v); }
    void operator()(std::int64_t v) const { statement.bindInteger(position, v); }
    void operator()(double v) const { statement.bindReal(position, v); }
    void operator()(bool v) const { statement.bindInteger(position, v ? 1 : 0); }
    // Only an amount column holds ten-thousandths; yuan bound anywhere else would compare and
    // store 10,000 times too small.
    void operator()(Currency) const {
        throw DbError(
            QStringLiteral("程序有误：参数 :%1 对应的列不是金额，不能以金额写入。").arg(name));
    }
};

struct AmountValue {
    EngineStatement &statement;
    int position;
    void operator()(std::monostate) const { statement.bindNull(position); }
    void operator()(const QString &v) const {
        // A typed amount such as "12.5"; anything else goes to the engine to reject.
        bool ok = false;
        const double yuan = v.trimmed().toDouble(&ok);
        if (ok)
            units(Currency::fromDouble(yuan));
        else
            statement.bindText(position, v);
    }
    void operator()(std::int64_t v) const { units(Currency::fromYuan(v)); }
    void operator()(double v) const { units(Currency::fromDouble(v)); }
    void operator()(bool v) const { statement.bindInteger(position, v ? 1 : 0); }
    void operator()(Currency v) const { units(v); }

    void units(Currency v) const { statement.bindInteger(position, v.units()); }
};

} // namespace

Parameter::Parameter(QString name) : m_name(std::move(name)), m_amount(isAmountColumn(m_name)) {}

void Parameter::bindTo(EngineStatement &statement, int position) const {
    if (m_amount)
        std::visit(AmountValue{statement, position}, m_value);
    else
        std::visit(PlainValue{m_name, statement, position}, m_value);
}
