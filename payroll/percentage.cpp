#include "percentage.h"

namespace {

constexpr std::int64_t unitsPerFen = Currency::unitsPerYuan / 100;

} // namespace

Currency fenFromScaled(Wide scaledUnits, Wide scale) {
    const Wide divisor = scale * unitsPerFen;
    const Wide magnitude = scaledUnits < 0 ? -scaledUnits : scaledUnits;
    const Wide fen = (magnitude + divisor / 2) / divisor;
    const Wide units = (scaledUnits < 0 ? -fen : fen) * unitsPerFen;
    if (units > INT64_MAX || units < INT64_MIN)
        throw CurrencyRangeError(QStringLiteral("A computed amount is out of range"));
    return Currency::fromUnits(std::int64_t(units));
}

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
    return fenFromScaled(Wide(amount.units()) * m_units, Wide(100) * unitsPerPercent);
}
