#include "payrollrules.h"

#include "query.h"
#include "salarycolumns.h"

#include <algorithm>

namespace {

QString sumOf(const QStringList &columns) {
    return columns.isEmpty() ? QStringLiteral("0") : "(" + columns.join('+') + ")";
}

} // namespace

QString columnOf(const ItemRule &item) {
    return SalaryColumns::itemColumn(
        item.deduction ? SalaryColumns::deduction : SalaryColumns::earning, item.slot);
}

bool isComputed(Method method) {
    return method == Method::Percentage || method == Method::IncomeTax ||
           method == Method::BonusTax;
}

bool PayrollRules::computes() const {
    return std::any_of(items.begin(), items.end(),
                       [](const ItemRule &item) { return isComputed(item.method); });
}

const ItemRule *PayrollRules::taxItem() const {
    for (const ItemRule &item : items)
        if (item.method == Method::IncomeTax)
            return &item;
    return nullptr;
}

const ItemRule *PayrollRules::bonusTaxItem() const {
    for (const ItemRule &item : items)
        if (item.method == Method::BonusTax)
            return &item;
    return nullptr;
}

Currency PayrollRules::yearEndBonus(const SalaryAmounts &amounts) const {
    Currency bonus;
    for (const ItemRule &item : items)
        if (item.method == Method::YearEndBonus)
            bonus += amounts.at(item);
    return bonus;
}

QString PayrollRules::yearEndBonusSql() const {
    QStringList columns;
    for (const ItemRule &item : items)
        if (item.method == Method::YearEndBonus)
            columns << columnOf(item);
    return sumOf(columns);
}

QStringList PayrollRules::computedColumns(bool taxOnly) const {
    QStringList columns;
    for (const ItemRule &item : items)
        if (item.method == Method::IncomeTax || item.method == Method::BonusTax ||
            (!taxOnly && item.method == Method::Percentage))
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
    const std::map<qint64, ItemMethod> methods = readItemMethods(connection);
    Query query(connection);
    query.addLine("select bh, S_FK from GZXMZD order by S_FK, bh");
    query.open();
    int earningSlot = 0;
    int deductionSlot = 0;
    for (; !query.eof(); query.next()) {
        ItemRule item;
        item.deduction = query.field("S_FK").asString() == SalaryColumns::deduction;
        item.slot = item.deduction ? ++deductionSlot : ++earningSlot;
        if (item.slot > SalaryColumns::itemsPerKind)
            continue;
        if (const auto found = methods.find(query.field("bh").asInteger());
            found != methods.end()) {
            const ItemMethod &method = found->second;
            item.method = method.method;
            item.contribution = method.contribution;
            item.base = method.base;
            item.preTax = item.deduction && method.preTax;
            item.taxable = !item.deduction && !method.untaxed;
        } else {
            item.taxable = !item.deduction;
        }
        // The tax is one deduction item, and so is the bonus's tax; any other marked so is
        // entered by hand, as is a bonus marked on a deduction.
        if ((item.method == Method::IncomeTax && (!item.deduction || rules.taxItem())) ||
            (item.method == Method::BonusTax && (!item.deduction || rules.bonusTaxItem())) ||
            (item.method == Method::YearEndBonus && item.deduction))
            item.method = Method::ByHand;
        if (item.method == Method::YearEndBonus)
            item.taxable = true;
        rules.items.push_back(item);
    }
    rules.law = readTaxLaw(connection);
    rules.bonusLaw = readBonusLaw(connection);
    return rules;
}
