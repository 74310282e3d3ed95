#pragma once

#include <QString>
#include <QStringView>
#include <compare>
#include <cstdint>
#include <optional>
#include <stdexcept>

// An amount that does not fit: a converted value beyond what 64 bits of ten-thousandths hold,
// or a sum or difference that would leave that range. Never wrapped around silently.
class CurrencyRangeError : public std::range_error {
public:
    explicit CurrencyRangeError(const QString &message) : std::range_error(message.toStdString()) {}
};

// Products of an amount and a rate before rounding need more than 64 bits.
__extension__ typedef __int128 Wide;

// An exact amount of money in ten-thousandths of a yuan, the scale of the amount columns.
// Amounts typed or computed as floating values enter through fromDouble(), which rounds to
// the nearest unit, so 0.1 + 0.2 stays 0.30 however often it is added. Rounding to the fen,
// for showing an amount or holding it in an entry box, happens here and nowhere else.
class Currency {
public:
    static constexpr std::int64_t unitsPerYuan = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromUnits(std::int64_t units) { return Currency(units); }
    // Both throw CurrencyRangeError for a value outside the range (or not a number at all).
    static Currency fromDouble(double yuan);
    static Currency fromYuan(std::int64_t yuan);
    // A plain decimal such as "-1234.5" or ".05", read exactly; at most four decimals, no
    // grouping, no sign but a leading minus. Nothing for any other text or an amount out of
    // range; an empty text or a lone minus reads as nothing too.
    static std::optional<Currency> fromText(QStringView text);

    constexpr std::int64_t units() const { return m_units; }
    double toDouble() const { return double(m_units) / unitsPerYuan; }

    // To the nearest fen, half away from zero: 1.005 becomes 1.01, -1.005 becomes -1.01.
    Currency roundedToFen() const;
    // The one rule for money computed with a rate: the exact amount of `scaledUnits` units of
    // 1/`scale` ten-thousandth (scale > 0), rounded to the fen half away from zero, as
    // roundedToFen() rounds. Throws CurrencyRangeError when the result does not fit.
    static Currency fenHalfAwayFromZero(Wide scaledUnits, Wide scale);

    // "1234.50": rounded to the fen, no digit grouping, leading minus.
    QString toFixed2() const;
    // "1234.5": as many decimals as the amount needs (at most four), as a field reads as text.
    QString toPlainText() const;

    // Checked: a result out of range throws CurrencyRangeError.
    Currency operator+(Currency other) const;
    Currency operator-(Currency other) const;
    Currency &operator+=(Currency other) { return *this = *this + other; }
    constexpr auto operator<=>(const Currency &) const = default;

private:
    constexpr explicit Currency(std::int64_t units) : m_units(units) {}
    std::int64_t m_units = 0;
};
