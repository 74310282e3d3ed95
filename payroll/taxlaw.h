#pragma once

#include "currency.h"
#include "percentage.h"

#include <QString>
#include <optional>
#include <vector>

// The law of cumulative withholding as dated data: a change of law is a new set of rows from
// the month it starts, not a new program.

// One line of the withholding table: income up to `upTo` (the top line has no limit) is taxed
// at `rate` less `quickDeduction`.
struct TaxBracket {
    std::optional<Currency> upTo;
    Percentage rate;
    Currency quickDeduction;
    bool operator==(const TaxBracket &) const = default;
};

// A dated row: what holds from `fromMonth` (a month key) until the next row starts.
template <typename Value> struct Dated {
    QString fromMonth;
    Value value;
};

struct TaxLaw {
    // Each a list of dated rows in any order; brackets of one date in rising order of limit.
    std::vector<Dated<TaxBracket>> brackets;
    std::vector<Dated<Currency>> monthlyDeductions;

    // The brackets and the monthly deduction in force in `month`; empty or zero before the
    // first date.
    std::vector<TaxBracket> bracketsFor(const QString &month) const;
    Currency monthlyDeductionFor(const QString &month) const;
};

// The tax due on a cumulative taxable income: income × rate − quick deduction of the line the
// income falls in, to the fen; 0 when the income is not positive.
Currency cumulativeTax(Currency taxableIncome, const std::vector<TaxBracket> &brackets);
