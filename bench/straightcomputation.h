#pragma once

#include "datedbases.h"
#include "payrollrules.h"
#include "withholding.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The computed items of a month worked out straight, as a floor to measure the program's
// computation against: the payroll layer's contribution and withholding arithmetic called on
// plain vectors of values read beforehand. Each rate, base and law is looked up once where the
// program looks it up per employee; what the benchmark's set-up gives nobody (opening figures,
// special deductions, relief, a year-end bonus) is left out. Employees are numbered from 1.

// One employee's row of a month.
struct SalaryRow {
    qint64 employee = 0;
    SalaryAmounts amounts;
};

// The rows of `month` in `table` (of `only` one employee, or of all), read through the data
// module.
std::vector<SalaryRow> readSalaryRows(const QString &table, const QString &month,
                                      std::optional<qint64> only = std::nullopt);

class StraightComputation {
public:
    // The stored months of `month`'s year before it are read now, through the data module.
    StraightComputation(const PayrollRules &rules, const QString &month, qint64 employees);

    // The contributions and the tax of `rows` of `month`, from each employee's `bases`
    // (indexed by employee number).
    void computeMonth(const QString &month, const std::vector<EmployeeBases> &bases,
                      std::vector<SalaryRow> &rows) const;
    // The tax alone of the rows of each of `months`, each month after the year before it.
    void recomputeTax(const QStringList &months,
                      std::vector<std::vector<SalaryRow>> &rowsOfMonths) const;

private:
    // One stored month of one employee, as the year to date adds it up.
    struct StoredPay {
        QString month;
        qint64 employee = 0;
        Currency taxableIncome, preTaxDeductions, taxWithheld;
    };

    std::vector<YearToDate> yearsBefore(const QString &month) const;
    void computeTax(const QString &month, std::vector<SalaryRow> &rows) const;

    const PayrollRules &m_rules;
    const ItemRule &m_taxItem;
    qint64 m_employees;
    std::vector<StoredPay> m_pays; // in order of month
};
