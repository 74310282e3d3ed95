#include "monthcomputation.h"

#include "monthkey.h"
#include "query.h"
#include "salarycolumns.h"
#include "writebatch.h"
#include "yearendbonus.h"

#include <array>

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

// Where a salary result holds the employee's number and each item's amount, found once for
// all its rows rather than by name on each.
class SalaryRowColumns {
public:
    explicit SalaryRowColumns(const Query &rows) : m_employee(rows.columnIndex("ygh")) {
        for (int slot = 1; slot <= SalaryColumns::itemsPerKind; ++slot) {
            const auto i = std::size_t(slot - 1);
            m_earnings[i] =
                rows.columnIndex(SalaryColumns::itemColumn(SalaryColumns::earning, slot));
            m_deductions[i] =
                rows.columnIndex(SalaryColumns::itemColumn(SalaryColumns::deduction, slot));
        }
    }

    qint64 employeeAt(const Query &rows, int row) const {
        return rows.cell(row, m_employee).asInteger();
    }

    SalaryAmounts amountsAt(const Query &rows, int row) const {
        SalaryAmounts amounts;
        for (std::size_t i = 0; i < m_earnings.size(); ++i) {
            amounts.earnings[i] = rows.cell(row, m_earnings[i]).asCurrency();
            amounts.deductions[i] = rows.cell(row, m_deductions[i]).asCurrency();
        }
        return amounts;
    }

private:
    int m_employee;
    std::array<int, SalaryColumns::itemsPerKind> m_earnings{};
    std::array<int, SalaryColumns::itemsPerKind> m_deductions{};
};

// Narrows a statement over salary rows to the range of `employees`' numbers (none: every
// employee), so that computing a few employees reads little more than their rows; anyone else
// within the range is passed over as the rows are read. `employees` is not empty.
QString withinRange(const Employees &employees) {
    return employees ? QStringLiteral(" and ygh between :low and :high") : QString();
}

void bindRange(Query &query, const Employees &employees) {
    if (!employees)
        return;
    query.param("low").setInteger(*employees->begin());
    query.param("high").setInteger(*employees->rbegin());
}

bool includes(const Employees &employees, qint64 employee) {
    return !employees || employees->contains(employee);
}

// Adds to `years` (each employee's year before `from`) the months of GZB from `from` up to
// `month`, of the same year.
void addStoredMonths(Connection &connection, const PayrollRules &rules,
                     const std::map<qint64, EmployeeProfile> &profiles, const QString &from,
                     const QString &month, const Employees &employees,
                     std::map<qint64, YearToDate> &years) {
    const ItemRule *tax = rules.taxItem();
    const bool taxWithBonus = tax && !rules.bonusTaxItem();
    Query history(connection);
    history.addLine("select ygh, ny, " + rules.taxableIncomeSql() + " as sr, " +
                    rules.preTaxDeductionsSql() + " as sqkcje, " + rules.yearEndBonusSql() +
                    " as nzj, " + (tax ? columnOf(*tax) : QStringLiteral("0")) + " as se");
    history.addLine("from GZB where ny>=:first and ny<:month" + withinRange(employees) +
                    " order by ygh, ny");
    history.param("first").setText(from);
    history.param("month").setText(month);
    bindRange(history, employees);
    history.open();
    const int employeeColumn = history.columnIndex("ygh");
    const int monthColumn = history.columnIndex("ny");
    const int incomeColumn = history.columnIndex("sr");
    const int preTaxColumn = history.columnIndex("sqkcje");
    const int bonusColumn = history.columnIndex("nzj");
    const int taxColumn = history.columnIndex("se");
    for (int row = 0; row < history.recordCount(); ++row) {
        const qint64 number = history.cell(row, employeeColumn).asInteger();
        if (!includes(employees, number))
            continue;
        const EmployeeProfile &profile = profileOf(profiles, number);
        const QString stored = history.cell(row, monthColumn).asString();
        auto [year, added] = years.try_emplace(number);
        if (added)
            year->second = openingOf(rules, profile, month);
        // A bonus taxed apart counts neither as the month's income nor as its tax withheld.
        const BonusInMonth bonus = bonusInMonth(rules, profile, year->second, stored,
                                                history.cell(row, bonusColumn).asCurrency());
        MonthOfPay pay;
        pay.taxableIncome = history.cell(row, incomeColumn).asCurrency();
        pay.preTaxDeductions = history.cell(row, preTaxColumn).asCurrency();
        pay.specialDeductions = profile.specialDeductionsIn(stored);
        pay.otherDeductions = profile.bases.in(stored).otherDeductions;
        pay.basicDeduction = rules.law.monthlyDeductionFor(stored);
        year->second.add(withheldPay(profile, year->second, stored, pay, bonus),
                         history.cell(row, taxColumn).asCurrency() -
                             (taxWithBonus ? bonus.tax : Currency()));
        year->second.bonusTaxedApart = year->second.bonusTaxedApart || bonus.apart > Currency();
    }
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
                                             const QString &month, const Employees &employees) {
    std::map<qint64, YearToDate> years;
    if (employees && employees->empty())
        return years;
    for (const auto &[number, profile] : profiles)
        if (includes(employees, number))
            years[number] = openingOf(rules, profile, month);
    addStoredMonths(connection, rules, profiles, month.left(4) + "01", month, employees, years);
    return years;
}

void computeMonth(Connection &connection, const PayrollRules &rules, const QString &table,
                  const QString &month, bool taxOnly, const Employees &employees) {
    MonthComputation(connection, rules, employees).compute(table, month, taxOnly);
}

MonthComputation::MonthComputation(Connection &connection, const PayrollRules &rules,
                                   Employees employees)
    : m_connection(connection), m_rules(rules), m_employees(std::move(employees)) {}

// One employee's alone when only one is computed, as after a correction to one row.
const std::map<qint64, EmployeeProfile> &MonthComputation::profiles() {
    if (!m_profiles)
        m_profiles = readProfiles(m_connection, m_employees && m_employees->size() == 1
                                                    ? std::optional(*m_employees->begin())
                                                    : std::nullopt);
    return *m_profiles;
}

// A later month of the same year carries on from the year before the month computed last: only
// the months stored since are read, the month computed last among them as it now stands.
const std::map<qint64, YearToDate> &MonthComputation::yearsBefore(const QString &month) {
    const bool carriesOn =
        !m_yearsMonth.isEmpty() && m_yearsMonth.left(4) == month.left(4) && m_yearsMonth <= month;
    if (carriesOn)
        addStoredMonths(m_connection, m_rules, profiles(), m_yearsMonth, month, m_employees,
                        m_years);
    else
        m_years = readYearsBefore(m_connection, m_rules, profiles(), month, m_employees);
    m_yearsMonth = month;
    return m_years;
}

void MonthComputation::compute(const QString &table, const QString &month, bool taxOnly) {
    const QStringList columns = m_rules.computedColumns(taxOnly);
    if (columns.isEmpty() || (m_employees && m_employees->empty()))
        return;
    const std::map<qint64, EmployeeProfile> &profiles = this->profiles();
    const std::map<qint64, YearToDate> &years = yearsBefore(month);

    Query rows(m_connection);
    rows.addLine("select * from " + table + " where ny=:ny" + withinRange(m_employees) +
                 " order by ygh");
    rows.param("ny").setText(month);
    bindRange(rows, m_employees);
    rows.open();
    const SalaryRowColumns read(rows);

    QStringList assignments;
    for (const QString &column : columns)
        assignments << column + "=:" + column;
    Query update(m_connection);
    update.addLine("update " + table + " set " + assignments.join(',') +
                   " where ny=:ny and ygh=:ygh");
    update.param("ny").setText(month);
    std::vector<std::pair<const ItemRule *, Parameter *>> written;
    for (const ItemRule &item : m_rules.items)
        if (columns.contains(columnOf(item)))
            written.emplace_back(&item, &update.param(columnOf(item)));
    Parameter &employee = update.param("ygh");

    static const YearToDate fresh;
    WriteBatch batch(m_connection);
    for (int row = 0; row < rows.recordCount(); ++row) {
        const qint64 number = read.employeeAt(rows, row);
        if (!includes(m_employees, number))
            continue;
        const auto year = years.find(number);
        SalaryAmounts amounts = read.amountsAt(rows, row);
        computeItems(m_rules, profileOf(profiles, number),
                     year == years.end() ? fresh : year->second, month, amounts, taxOnly);
        for (const auto &[item, parameter] : written)
            parameter->setCurrency(amounts.at(*item));
        employee.setInteger(number);
        update.execSql();
    }
    batch.finish();
}
