#include "taxlaw.h"

namespace {

// The latest date not after `month` among the rows.
template <typename Value>
std::optional<QString> dateInForce(const std::vector<Dated<Value>> &rows, const QString &month) {
    std::optional<QString> found;
    for (const Dated<Value> &row : rows)
        if (row.fromMonth <= month && (!found || row.fromMonth > *found))
            found = row.fromMonth;
    return found;
}

} // namespace

std::vector<TaxBracket> TaxLaw::bracketsFor(const QString &month) const {
    std::vector<TaxBracket> inForce;
    const std::optional<QString> date = dateInForce(brackets, month);
    for (const Dated<TaxBracket> &row : brackets)
        if (date && row.fromMonth == *date)
            inForce.push_back(row.value);
    return inForce;
}

Currency TaxLaw::monthlyDeductionFor(const QString &month) const {
    const std::optional<QString> date = dateInForce(monthlyDeductions, month);
    for (const Dated<Currency> &row : monthlyDeductions)
        if (date && row.fromMonth == *date)
            return row.value;
    return {};
}

Currency cumulativeTax(Currency taxableIncome, const std::vector<TaxBracket> &brackets) {
    if (taxableIncome <= Currency() || brackets.empty())
        return {};
    // A table whose top line has a limit taxes what lies above it at that line's rate.
    const TaxBracket *line = &brackets.back();
    for (const TaxBracket &bracket : brackets)
        if (!bracket.upTo || taxableIncome <= *bracket.upTo) {
            line = &bracket;
            break;
        }
    // income × rate units / (100 % × units per percent) − quick deduction, exact to the fen.
    const Wide scale = Percentage::whole().units();
    return Currency::fenHalfAwayFromZero(Wide(taxableIncome.units()) * line->rate.units() -
                                             Wide(line->quickDeduction.units()) * scale,
                                         scale);
}
