#pragma once

#include "taxlaw.h"

// The year-end one-off bonus taxed apart from the cumulative withholding, as the law allows it
// for a time: its own dated table, each date in force through a last month.

struct BonusLaw {
    std::vector<Dated<TaxBracket>> brackets; // a twelfth of the bonus against each line's limit
    std::vector<Dated<QString>> lastMonths;  // of each date; empty: no end

    // The table for a bonus paid in `month`; empty when the law taxes no bonus apart then.
    std::vector<TaxBracket> bracketsFor(const QString &month) const;
};

// The tax on a bonus taxed apart: the line is the one its twelfth falls in, the whole bonus is
// taxed at that line's rate and the quick deduction taken once, to the fen. So a bonus just
// over a line's edge pays more than the whole excess (36,000.00 pays 1,080.00, 36,001.00 pays
// 3,390.10).
Currency bonusTax(Currency bonus, const std::vector<TaxBracket> &brackets);

// The edge of the line a bonus lies just above, where the bonus keeps less after its tax than
// a bonus of the edge itself would; none when it keeps more.
std::optional<Currency> bonusEdgeBelow(Currency bonus, const std::vector<TaxBracket> &brackets);
