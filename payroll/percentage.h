#pragma once

#include "currency.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

// Products of an amount and a rate before rounding need more than 64 bits.
__extension__ typedef __int128 Wide;

// A rate as the clerk types it: a percentage with at most four decimals ("8", "0.5",
// "12.3456"), held exactly as ten-thousandths of a percent.
class Percentage {
public:
    static constexpr std::int64_t unitsPerPercent = 10000;

    constexpr Percentage() = default;
    static constexpr Percentage fromUnits(std::int64_t units) { return Percentage(units); }
    // Nothing for a negative rate, more than four decimals, or anything but a plain decimal.
    static std::optional<Percentage> fromText(QStringView text);

    constexpr std::int64_t units() const { return m_units; }
    // "8", "0.5": as few decimals as the rate needs.
    QString toText() const;

    // The rate applied to an amount, rounded to the fen half away from zero.
    Currency of(Currency amount) const;

    constexpr auto operator<=>(const Percentage &) const = default;

private:
    constexpr explicit Percentage(std::int64_t units) : m_units(units) {}
    std::int64_t m_units = 0;
};

// An exact amount given in units of 1/`scale` ten-thousandth (scale > 0), rounded to the fen
// half away from zero. Throws CurrencyRangeError when the result does not fit.
Currency fenFromScaled(Wide scaledUnits, Wide scale);
