#pragma once

#include "employeeprofile.h"
#include "payrollrules.h"
#include "withholding.h"

// A month's year-end one-off bonus of one employee: taxed apart from the cumulative
// withholding the first time in a year it is paid, while the law allows it and unless the
// employee has it taxed with the pay that year; otherwise (a second bonus that year, or after
// the law's last month) with the month's other pay.
struct BonusInMonth {
    Currency apart; // the bonus taxed apart; zero when it is taxed with the month's pay
    Currency tax;   // its tax
};

BonusInMonth bonusInMonth(const PayrollRules &rules, const EmployeeProfile &profile,
                          const YearToDate &before, const QString &month, Currency bonus);

// The month as the cumulative withholding takes it: a bonus taxed apart left out, the basic
// deduction as the employee's choices for the year have it, the month's tax relief.
MonthOfPay withheldPay(const EmployeeProfile &profile, const YearToDate &before,
                       const QString &month, MonthOfPay pay, const BonusInMonth &bonus);
