#pragma once

#include "employeeprofile.h"
#include "payrollrules.h"
#include "withholding.h"

// How a computed item came to its amount, in the words the clerk checks it by: shown beside
// the item while a month is entered. A year-end bonus is shown both ways, taxed apart and with
// the month's pay, with the lower named and a warning when it lies just over an edge.
QString computationNote(const PayrollRules &rules, const EmployeeProfile &profile,
                        const YearToDate &before, const QString &month,
                        const SalaryAmounts &amounts, const ItemRule &item);
