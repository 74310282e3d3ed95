#include "payrollrules.h"

#include "query.h"
#include "salarycolumns.h"

#include <algorithm>

namespace {

std::optional<Currency> optionalAmount(const Field &field) {
    if (field.isNull())
        return std::nullopt;
    return Currency::fromUnits(field.asInteger());
}

Method methodOf(const QString &code) {
    if (code == MethodCode::percentage)
        return Method::Percentage;
    if (code == MethodCode::incomeTax)
        return Method::IncomeTax;
    return Method::ByHand;
}

QString sumOf(const QStringList &columns) {
    return columns.isEmpty() ? QStringLiteral("0") : "(" + columns.join('+') + ")";
}

} // namespace

QString columnOf(const ItemRule &item) {
    return SalaryColumns::itemColumn(
        item.deduction ? SalaryColumns::deduction : SalaryColumns::earning, item.slot);
}

bool PayrollRules::computes() const {
    return std::any_of(items.begin(), items.end(),
                       [](const ItemRule &item) { return item.method != Method::ByHand; });
}

const ItemRule *PayrollRules::taxItem() const {
    for (const ItemRule &item : items)
        if (item.method == Method::IncomeTax)
            return &item;
    return nullptr;
}

QStringList PayrollRules::computedColumns(bool taxOnly) const {
    QStringList columns;
    for (const ItemRule &item : items)
        if (item.method == Method::IncomeTax || (!taxOnly && item.method == Method::Percentage))
            columns << columnOf(item);
    return columns;
}

QString PayrollRules::taxableIncomeSql() const {
    QStringList columns;
    for (const ItemRule &item : items)
        if (!item.deduction && item.taxable)
            columns << columnOf(item);
    return sumOf(columns);
}

QString PayrollRules::preTaxDeductionsSql() const {
    QStringList columns;
    for (const ItemRule &item : items)
        if (item.deduction && item.preTax)
            columns << columnOf(item);
    return sumOf(columns);
}

PayrollRules readPayrollRules(Connection &connection) {
    PayrollRules rules;
    Query query(connection);
    query.addLine("select a.bh, a.S_FK, b.jsfs, b.bl, b.jsjs, b.xx, b.sx, b.sqkc, b.bjs");
    query.addLine("from GZXMZD as a left join GZXMJS as b on b.xmbh=a.bh order by a.S_FK, a.bh");
    query.open();
    int earningSlot = 0;
    int deductionSlot = 0;
    for (; !query.eof(); query.next()) {
        ItemRule item;
        item.deduction = query.field("S_FK").asString() == SalaryColumns::deduction;
        item.slot = item.deduction ? ++deductionSlot : ++earningSlot;
        if (item.slot > SalaryColumns::itemsPerKind)
            continue;
        item.method = methodOf(query.field("jsfs").asString());
        item.contribution = {Percentage::fromUnits(query.field("bl").asInteger()),
                             optionalAmount(query.field("xx")), optionalAmount(query.field("sx"))};
        item.base = query.field("jsjs").asString() == BaseCode::housingFund
                        ? ContributionBase::HousingFund
                        : ContributionBase::SocialInsurance;
        item.preTax = item.deduction && query.field("sqkc").asBoolean();
        item.taxable = !item.deduction && !query.field("bjs").asBoolean();
        // The tax is one deduction item; any other marked so is entered by hand.
        if (item.method == Method::IncomeTax && (!item.deduction || rules.taxItem()))
            item.method = Method::ByHand;
        rules.items.push_back(item);
    }

    query.close();
    query.clearSql();
    query.addLine("select qsny, sx, sl, sskcs from GSSLB order by qsny, sx is null, sx");
    query.open();
    for (; !query.eof(); query.next())
        rules.law.brackets.push_back({query.field("qsny").asString(),
                                      {optionalAmount(query.field("sx")),
                                       Percentage::fromUnits(query.field("sl").asInteger()),
                                       Currency::fromUnits(query.field("sskcs").asInteger())}});
    query.close();
    query.clearSql();
    query.addLine("select qsny, je from GSJCFY");
    query.open();
    for (; !query.eof(); query.next())
        rules.law.monthlyDeductions.push_back(
            {query.field("qsny").asString(), Currency::fromUnits(query.field("je").asInteger())});
    return rules;
}
