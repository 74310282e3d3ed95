#pragma once

#include "currency.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

// A rate as the clerk types it: a percentage with at most four decimals ("8", "0.5",
// "12.3456"), held exactly as ten-thousandths of a percent.
class Percentage {
public:
    static constexpr std::int64_t unitsPerPercent = 10000;

    constexpr Percentage() = default;
    static constexpr Percentage fromUnits(std::int64_t units) { return Percentage(units); }
    // 100 %: the whole of an amount, the most a contribution or tax rate may be.
    static constexpr Percentage whole() { return Percentage(100 * unitsPerPercent); }
    // Nothing for a negative rate, more than four decimals, or anything but a plain decimal.
    static std::optional<Percentage> fromText(QStringView text);

    constexpr std::int64_t units() const { return m_units; }
    // "8", "0.5": as few decimals as the rate needs.
    QString toText() const;

    // The rate applied to an amount, rounded by Currency::fenHalfAwayFromZero.
    Currency of(Currency amount) const;

    constexpr auto operator<=>(const Percentage &) const = default;

private:
    constexpr explicit Percentage(std::int64_t units) : m_units(units) {}
    std::int64_t m_units = 0;
};
