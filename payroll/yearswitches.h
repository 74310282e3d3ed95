#pragma once

#include "currency.h"

#include <QString>
#include <map>
#include <optional>

class Connection;
struct YearToDate;

// Choices the law leaves to an employee for one year.
struct YearSwitches {
    bool bonusWithPay = false;          // the year-end bonus taxed with the pay, not apart
    bool wholeYearDeduction = false;    // the year's 12 basic deductions from January
    bool deductionSinceJanuary = false; // the basic deductions of every month since January
    bool operator==(const YearSwitches &) const = default;
};

// By year ("2026"); a year without an entry has none of the choices.
using YearChoices = std::map<QString, YearSwitches>;

// The switches of `month`'s year.
YearSwitches switchesIn(const YearChoices &choices, const QString &month);

// The basic deduction of `month` as the switches have it: what brings the year's deductions
// to twelve months' (wholeYearDeduction) or to one for every month since January
// (deductionSinceJanuary), never less than nothing; else the month's own `monthly`.
Currency basicDeductionIn(const YearSwitches &switches, const YearToDate &before,
                          const QString &month, Currency monthly);

// The choices of every employee who has some (or of `employee`), by employee number.
std::map<qint64, YearChoices> readYearChoices(Connection &connection,
                                              std::optional<qint64> employee);
// Whether the stored salary of `employee` in the year before `year` allows the whole year's
// deduction: pay every month, and no more than 60,000.00 taxable in all. A year the program
// holds no month of cannot be told and allows it.
bool previousYearAllowsWholeYearDeduction(Connection &connection, qint64 employee,
                                          const QString &year);

// Replaces `employee`'s choices; the caller holds the transaction.
void storeYearChoices(Connection &connection, qint64 employee, const YearChoices &choices);
