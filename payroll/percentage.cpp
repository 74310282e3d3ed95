#include "percentage.h"

std::optional<Percentage> Percentage::fromText(QStringView text) {
    // Same digits and scale as an amount: four decimals.
    const std::optional<Currency> read = Currency::fromText(text.trimmed());
    if (!read || read->units() < 0)
        return std::nullopt;
    return Percentage(read->units());
}

QString Percentage::toText() const {
    return Currency::fromUnits(m_units).toPlainText();
}

Currency Percentage::of(Currency amount) const {
    // amount × rate units / (100 % × units per percent), kept exact until the fen.
    return Currency::fenHalfAwayFromZero(Wide(amount.units()) * m_units, whole().units());
}
