#include "monthcomputation.h"

#include "monthkey.h"
#include "query.h"
#include "salarycolumns.h"
#include "writebatch.h"
#include "yearendbonus.h"

namespace {

Currency baseOf(const ItemRule &item, const EmployeeBases &bases) {
    return item.base == ContributionBase::HousingFund ? bases.housingFund : bases.socialInsurance;
}

YearToDate openingOf(const PayrollRules &rules, const EmployeeProfile &profile,
                     const QString &month) {
    YearToDate year;
    const OpeningFigures &opening = profile.opening;
    if (opening.year != month.left(4))
        return year;
    year.taxableIncome = opening.income;
    year.preTaxDeductions = opening.preTaxDeductions;
    year.specialDeductions = opening.specialDeductions;
    year.taxWithheld = opening.taxWithheld;
    year.months = opening.months;
    // The opening months are the year's first, each with the deduction in force in it.
    for (int i = 1; i <= opening.months; ++i)
        year.basicDeductions += rules.law.monthlyDeductionFor(monthKey(opening.year.toInt(), i));
    return year;
}

SalaryAmounts amountsOf(const Query &row) {
    SalaryAmounts amounts;
    for (int slot = 1; slot <= SalaryColumns::itemsPerKind; ++slot) {
        const auto i = std::size_t(slot - 1);
        amounts.earnings[i] =
            row.field(SalaryColumns::itemColumn(SalaryColumns::earning, slot)).asCurrency();
        amounts.deductions[i] =
            row.field(SalaryColumns::itemColumn(SalaryColumns::deduction, slot)).asCurrency();
    }
    return amounts;
}

} // namespace

const EmployeeProfile &profileOf(const std::map<qint64, EmployeeProfile> &profiles,
                                 qint64 employee) {
    static const EmployeeProfile none;
    const auto found = profiles.find(employee);
    return found == profiles.end() ? none : found->second;
}

MonthOfPay monthOfPay(const PayrollRules &rules, const EmployeeProfile &profile,
                      const SalaryAmounts &amounts, const QString &month) {
    MonthOfPay pay;
    for (const ItemRule &item : rules.items) {
        if (!item.deduction && item.taxable)
            pay.taxableIncome += amounts.at(item);
        if (item.deduction && item.preTax)
            pay.preTaxDeductions += amounts.at(item);
    }
    pay.specialDeductions = profile.specialDeductionsIn(month);
    pay.otherDeductions = profile.bases.in(month).otherDeductions;
    pay.basicDeduction = rules.law.monthlyDeductionFor(month);
    return pay;
}

void computeItems(const PayrollRules &rules, const EmployeeProfile &profile,
                  const YearToDate &before, const QString &month, SalaryAmounts &amounts,
                  bool taxOnly) {
    if (!taxOnly)
        for (const ItemRule &item : rules.items)
            if (item.method == Method::Percentage)
                amounts.at(item) = contribution(item.contribution.in(month),
                                                baseOf(item, profile.bases.in(month)));
    const BonusInMonth bonus =
        bonusInMonth(rules, profile, before, month, rules.yearEndBonus(amounts));
    const MonthOfPay pay =
        withheldPay(profile, before, month, monthOfPay(rules, profile, amounts, month), bonus);
    const ItemRule *bonusTax = rules.bonusTaxItem();
    if (const ItemRule *tax = rules.taxItem())
        amounts.at(*tax) = monthTax(before, pay, rules.law.bracketsFor(month)) +
                           (bonusTax ? Currency() : bonus.tax);
    if (bonusTax)
        amounts.at(*bonusTax) = bonus.tax;
}

std::map<qint64, YearToDate> readYearsBefore(Connection &connection, const PayrollRules &rules,
                                             const std::map<qint64, EmployeeProfile> &profiles,
                                             const QString &month, std::optional<qint64> employee) {
    std::map<qint64, YearToDate> years;
    for (const auto &[number, profile] : profiles)
        if (!employee || number == *employee)
            years[number] = openingOf(rules, profile, month);

    const ItemRule *tax = rules.taxItem();
    Query history(connection);
    history.addLine("select ygh, ny, " + rules.taxableIncomeSql() + " as sr, " +
                    rules.preTaxDeductionsSql() + " as sqkcje, " + rules.yearEndBonusSql() +
                    " as nzj, " + (tax ? columnOf(*tax) : QStringLiteral("0")) + " as se");
    history.addLine("from GZB where ny>=:first and ny<:month" +
                    QString(employee ? " and ygh=:ygh" : "") + " order by ygh, ny");
    history.param("first").setText(month.left(4) + "01");
    history.param("month").setText(month);
    if (employee)
        history.param("ygh").setInteger(*employee);
    history.open();
    for (; !history.eof(); history.next()) {
        const qint64 number = history.field("ygh").asInteger();
        const EmployeeProfile &profile = profileOf(profiles, number);
        const QString stored = history.field("ny").asString();
        auto [year, added] = years.try_emplace(number);
        if (added)
            year->second = openingOf(rules, profile, month);
        // A bonus taxed apart counts neither as the month's income nor as its tax withheld.
        const BonusInMonth bonus =
            bonusInMonth(rules, profile, year->second, stored, history.field("nzj").asCurrency());
        MonthOfPay pay;
        pay.taxableIncome = history.field("sr").asCurrency();
        pay.preTaxDeductions = history.field("sqkcje").asCurrency();
        pay.specialDeductions = profile.specialDeductionsIn(stored);
        pay.otherDeductions = profile.bases.in(stored).otherDeductions;
        pay.basicDeduction = rules.law.monthlyDeductionFor(stored);
        const bool taxWithBonus = tax && !rules.bonusTaxItem();
        year->second.add(withheldPay(profile, year->second, stored, pay, bonus),
                         history.field("se").asCurrency() -
                             (taxWithBonus ? bonus.tax : Currency()));
        year->second.bonusTaxedApart = year->second.bonusTaxedApart || bonus.apart > Currency();
    }
    return years;
}

void computeMonth(Connection &connection, const PayrollRules &rules, const QString &table,
                  const QString &month, bool taxOnly, const Employees &employees) {
    const QStringList columns = rules.computedColumns(taxOnly);
    if (columns.isEmpty())
        return;
    const std::map<qint64, EmployeeProfile> profiles = readProfiles(connection);
    const std::map<qint64, YearToDate> years = readYearsBefore(connection, rules, profiles, month);

    Query rows(connection);
    rows.addLine("select * from " + table + " where ny=:ny order by ygh");
    rows.param("ny").setText(month);
    rows.open();

    QStringList assignments;
    for (const QString &column : columns)
        assignments << column + "=:" + column;
    Query update(connection);
    update.addLine("update " + table + " set " + assignments.join(',') +
                   " where ny=:ny and ygh=:ygh");
    update.param("ny").setText(month);

    static const YearToDate fresh;
    WriteBatch batch(connection);
    for (; !rows.eof(); rows.next()) {
        const qint64 number = rows.field("ygh").asInteger();
        if (employees && !employees->contains(number))
            continue;
        const auto year = years.find(number);
        SalaryAmounts amounts = amountsOf(rows);
        computeItems(rules, profileOf(profiles, number), year == years.end() ? fresh : year->second,
                     month, amounts, taxOnly);
        for (const ItemRule &item : rules.items)
            if (columns.contains(columnOf(item)))
                update.param(columnOf(item)).setCurrency(amounts.at(item));
        update.param("ygh").setInteger(number);
        update.execSql();
    }
    batch.finish();
}
