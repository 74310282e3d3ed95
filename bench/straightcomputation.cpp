#include "straightcomputation.h"

#include "contribution.h"
#include "data.h"
#include "query.h"
#include "salarycolumns.h"

std::vector<SalaryRow> readSalaryRows(const QString &table, const QString &month,
                                      std::optional<qint64> only) {
    Query query(DM->ADC);
    query.addLine("select * from " + table + " where ny=:ny order by ygh");
    query.param("ny").setText(month);
    query.open();
    std::vector<SalaryRow> rows;
    for (; !query.eof(); query.next()) {
        SalaryRow row{query.field("ygh").asInteger(), {}};
        if (only && row.employee != *only)
            continue;
        for (int slot = 1; slot <= SalaryColumns::itemsPerKind; ++slot) {
            const auto i = std::size_t(slot - 1);
            row.amounts.earnings[i] =
                query.field(SalaryColumns::itemColumn(SalaryColumns::earning, slot)).asCurrency();
            row.amounts.deductions[i] =
                query.field(SalaryColumns::itemColumn(SalaryColumns::deduction, slot)).asCurrency();
        }
        rows.push_back(row);
    }
    return rows;
}

StraightComputation::StraightComputation(const PayrollRules &rules, const QString &month,
                                         qint64 employees)
    : m_rules(rules), m_taxItem(*rules.taxItem()), m_employees(employees) {
    Query query(DM->ADC);
    query.addLine("select ny, ygh, " + rules.taxableIncomeSql() + " as sr, " +
                  rules.preTaxDeductionsSql() + " as sqkcje, " + columnOf(m_taxItem) +
                  " as se from GZB where ny>=:first and ny<:month order by ny, ygh");
    query.param("first").setText(month.left(4) + "01");
    query.param("month").setText(month);
    query.open();
    for (; !query.eof(); query.next())
        m_pays.push_back({query.field("ny").asString(), query.field("ygh").asInteger(),
                          query.field("sr").asCurrency(), query.field("sqkcje").asCurrency(),
                          query.field("se").asCurrency()});
}

std::vector<YearToDate> StraightComputation::yearsBefore(const QString &month) const {
    std::vector<YearToDate> years(std::size_t(m_employees + 1));
    QString lawMonth;
    Currency deduction;
    for (const StoredPay &pay : m_pays) {
        if (pay.month >= month)
            break;
        if (pay.month != lawMonth) {
            lawMonth = pay.month;
            deduction = m_rules.law.monthlyDeductionFor(lawMonth);
        }
        MonthOfPay stored;
        stored.taxableIncome = pay.taxableIncome;
        stored.preTaxDeductions = pay.preTaxDeductions;
        stored.basicDeduction = deduction;
        years.at(std::size_t(pay.employee)).add(stored, pay.taxWithheld);
    }
    return years;
}

void StraightComputation::computeTax(const QString &month, std::vector<SalaryRow> &rows) const {
    const std::vector<YearToDate> years = yearsBefore(month);
    const Currency deduction = m_rules.law.monthlyDeductionFor(month);
    const std::vector<TaxBracket> brackets = m_rules.law.bracketsFor(month);
    for (SalaryRow &row : rows) {
        MonthOfPay pay;
        pay.basicDeduction = deduction;
        for (const ItemRule &item : m_rules.items) {
            if (!item.deduction && item.taxable)
                pay.taxableIncome += row.amounts.at(item);
            if (item.deduction && item.preTax)
                pay.preTaxDeductions += row.amounts.at(item);
        }
        row.amounts.at(m_taxItem) = monthTax(years.at(std::size_t(row.employee)), pay, brackets);
    }
}

void StraightComputation::computeMonth(const QString &month,
                                       const std::vector<EmployeeBases> &bases,
                                       std::vector<SalaryRow> &rows) const {
    std::vector<std::pair<const ItemRule *, ContributionRule>> contributions;
    for (const ItemRule &item : m_rules.items)
        if (item.method == Method::Percentage)
            contributions.emplace_back(&item, item.contribution.in(month));
    for (SalaryRow &row : rows) {
        const EmployeeBases &base = bases.at(std::size_t(row.employee));
        for (const auto &[item, rule] : contributions)
            row.amounts.at(*item) = contribution(rule, item->base == ContributionBase::HousingFund
                                                           ? base.housingFund
                                                           : base.socialInsurance);
    }
    computeTax(month, rows);
}

void StraightComputation::recomputeTax(const QStringList &months,
                                       std::vector<std::vector<SalaryRow>> &rowsOfMonths) const {
    for (qsizetype m = 0; m < months.size(); ++m)
        computeTax(months.at(m), rowsOfMonths.at(std::size_t(m)));
}
