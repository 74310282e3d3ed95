#pragma once

#include <QString>
#include <compare>
#include <cstdint>

// An exact amount of money in ten-thousandths of a yuan, the scale of the amount columns.
// Amounts typed or computed as floating values enter through fromDouble(), which rounds to
// the nearest unit, so 0.1 + 0.2 stays 0.30 however often it is added.
class Currency {
public:
    static constexpr std::int64_t unitsPerYuan = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromUnits(std::int64_t units) { return Currency(units); }
    static Currency fromDouble(double yuan);

    constexpr std::int64_t units() const { return m_units; }
    double toDouble() const { return double(m_units) / unitsPerYuan; }

    // "1234.50": two decimals, half away from zero, no digit grouping, leading minus.
    QString toFixed2() const;
    // "1234.5": as many decimals as the amount needs (at most four), as a field reads as text.
    QString toPlainText() const;

    constexpr Currency operator+(Currency other) const { return Currency(m_units + other.m_units); }
    constexpr Currency operator-(Currency other) const { return Currency(m_units - other.m_units); }
    Currency &operator+=(Currency other) {
        m_units += other.m_units;
        return *this;
    }
    constexpr auto operator<=>(const Currency &) const = default;

private:
    constexpr explicit Currency(std::int64_t units) : m_units(units) {}
    std::int64_t m_units = 0;
};
