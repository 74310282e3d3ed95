#include "bonustax.h"

std::vector<TaxBracket> BonusLaw::bracketsFor(const QString &month) const {
    const std::vector<TaxBracket> inForce = TaxLaw{brackets, {}}.bracketsFor(month);
    if (inForce.empty())
        return {};
    QString date;
    for (const Dated<TaxBracket> &row : brackets)
        if (row.fromMonth <= month && row.fromMonth > date)
            date = row.fromMonth;
    for (const Dated<QString> &last : lastMonths)
        if (last.fromMonth == date && !last.value.isEmpty() && last.value < month)
            return {};
    return inForce;
}

Currency bonusTax(Currency bonus, const std::vector<TaxBracket> &brackets) {
    // bonus ÷ 12 ≤ limit, compared as bonus ≤ 12 × limit to stay exact.
    std::vector<TaxBracket> twelveTimes = brackets;
    for (TaxBracket &line : twelveTimes)
        if (line.upTo)
            line.upTo = Currency::fromUnits(line.upTo->units() * 12);
    return cumulativeTax(bonus, twelveTimes);
}

std::optional<Currency> bonusEdgeBelow(Currency bonus, const std::vector<TaxBracket> &brackets) {
    std::optional<Currency> edge;
    for (const TaxBracket &line : brackets)
        if (line.upTo && Currency::fromUnits(line.upTo->units() * 12) < bonus)
            edge = Currency::fromUnits(line.upTo->units() * 12);
    if (!edge || bonus - bonusTax(bonus, brackets) >= *edge - bonusTax(*edge, brackets))
        return std::nullopt;
    return edge;
}
