#pragma once

#include "employeeprofile.h"

#include <QString>
#include <QStringList>
#include <vector>

// The law's limits on special additional deductions (the standards in force since 2023): how
// much each kind may take in a month or a year, and which kinds exclude each other. A
// deduction above the law would lower the tax withheld below what the employee owes, so it is
// refused rather than stored.

// The monthly amounts the law sets for `kind` (for example 2,000.00 per child), the usual one
// first; empty for a kind without a fixed standard.
std::vector<Currency> standardAmounts(const QString &kind);

// What the law sets for `kind`, in a sentence the dialogs show beside it.
QString standardText(const QString &kind);

// The first way in which `deductions` (one employee's, each a line with its own months) go
// beyond the law, as the message the clerk reads; empty when they keep to it.
QString specialDeductionFault(const std::vector<SpecialDeduction> &deductions);
