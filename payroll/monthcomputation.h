#pragma once

#include "employeeprofile.h"
#include "payrollrules.h"
#include "withholding.h"

#include <map>
#include <optional>
#include <set>

class Connection;

// The computed items of a month: contributions of the employee's bases first, then the income
// tax on what the month leaves, cumulated over the year.

// One employee's figures for the tax of `month`, from the row's amounts.
MonthOfPay monthOfPay(const PayrollRules &rules, const EmployeeProfile &profile,
                      const SalaryAmounts &amounts, const QString &month);

// Sets the computed items of one employee's row of `month` (`taxOnly`: the tax alone),
// given the year before that month.
void computeItems(const PayrollRules &rules, const EmployeeProfile &profile,
                  const YearToDate &before, const QString &month, SalaryAmounts &amounts,
                  bool taxOnly = false);

// Employees by number; none: every employee.
using Employees = std::optional<std::set<qint64>>;

// Each employee's year before `month` (all employees, or only `employees`): the opening
// figures of that year, then the months of that year before `month` stored in GZB.
std::map<qint64, YearToDate> readYearsBefore(Connection &connection, const PayrollRules &rules,
                                             const std::map<qint64, EmployeeProfile> &profiles,
                                             const QString &month,
                                             const Employees &employees = std::nullopt);

// Recomputes the computed items of the rows of `month` in `table` (the worksheet "temp_gzb",
// or "GZB") of `employees` and writes them back; with `taxOnly` the tax alone. Every other
// row keeps what it holds. The caller holds the transaction.
void computeMonth(Connection &connection, const PayrollRules &rules, const QString &table,
                  const QString &month, bool taxOnly = false,
                  const Employees &employees = std::nullopt);

// computeMonth for several months in one transaction, in rising order: what the months share
// is read once, the employees' profiles at the first month computed, and each employee's year
// grows from one month to the next.
class MonthComputation {
public:
    MonthComputation(Connection &connection, const PayrollRules &rules,
                     Employees employees = std::nullopt);
    void compute(const QString &table, const QString &month, bool taxOnly = false);

private:
    const std::map<qint64, EmployeeProfile> &profiles();
    const std::map<qint64, YearToDate> &yearsBefore(const QString &month);

    Connection &m_connection;
    const PayrollRules &m_rules;
    Employees m_employees;
    std::optional<std::map<qint64, EmployeeProfile>> m_profiles;
    std::map<qint64, YearToDate> m_years; // each employee's year before m_yearsMonth
    QString m_yearsMonth;                 // empty: none read yet
};

// The profile of an employee who has none: no bases, no deductions.
const EmployeeProfile &profileOf(const std::map<qint64, EmployeeProfile> &profiles,
                                 qint64 employee);
