#include "currency.h"

#include <cmath>
#include <limits>

namespace {

using Units = std::int64_t;
using Magnitude = std::uint64_t;

// |units| without the overflow of negating the most negative value.
Magnitude magnitudeOf(Units units) {
    return units < 0 ? Magnitude(0) - Magnitude(units) : Magnitude(units);
}

// Digits of a magnitude in ten-thousandths: whole yuan, then `decimals` digits of the fraction
// (only the leading ones, no rounding).
QString digits(Magnitude magnitude, int decimals) {
    QString text = QString::number(magnitude / Currency::unitsPerYuan);
    if (decimals > 0) {
        const QString fraction =
            QStringLiteral("%1").arg(magnitude % Currency::unitsPerYuan, 4, 10, QChar('0'));
        text += QChar('.') + fraction.left(decimals);
    }
    return text;
}

QString signedText(Units units, const QString &digits) {
    return units < 0 ? QStringLiteral("-") + digits : digits;
}

} // namespace

Currency Currency::fromDouble(double yuan) {
    // 2^63 is exact as a double; every double below it in magnitude fits in 64 bits.
    constexpr double limit = 9223372036854775808.0;
    const double units = std::round(yuan * double(unitsPerYuan));
    if (!(units > -limit && units < limit))
        throw CurrencyRangeError(
            QStringLiteral("The amount %1 is out of range").arg(yuan, 0, 'g', 17));
    return Currency(Units(units));
}

Currency Currency::fromYuan(std::int64_t yuan) {
    Units units = 0;
    if (__builtin_mul_overflow(yuan, unitsPerYuan, &units))
        throw CurrencyRangeError(QStringLiteral("The amount %1 is out of range").arg(yuan));
    return Currency(units);
}

std::optional<Currency> Currency::fromText(QStringView text) {
    const bool negative = text.startsWith(QChar('-'));
    if (negative)
        text = text.mid(1);
    const qsizetype point = text.indexOf(QChar('.'));
    const QStringView whole = point < 0 ? text : text.left(point);
    const QStringView fraction = point < 0 ? QStringView() : text.mid(point + 1);
    if ((whole.isEmpty() && fraction.isEmpty()) || fraction.size() > 4)
        return std::nullopt;
    // Accumulated negatively, so that the most negative amount reads too.
    Units units = 0;
    const auto addDigit = [&units, negative](QChar digit) {
        if (digit < QChar('0') || digit > QChar('9'))
            return false;
        const int value = digit.unicode() - '0';
        return !__builtin_mul_overflow(units, Units(10), &units) &&
               !__builtin_sub_overflow(units, Units(value), &units);
    };
    for (const QChar digit : whole)
        if (!addDigit(digit))
            return std::nullopt;
    for (qsizetype i = 0; i < 4; ++i)
        if (!addDigit(i < fraction.size() ? fraction[i] : QChar('0')))
            return std::nullopt;
    if (negative)
        return Currency(units);
    if (units == std::numeric_limits<Units>::min())
        return std::nullopt;
    return Currency(-units);
}

Currency Currency::roundedToFen() const {
    constexpr Magnitude perFen = unitsPerYuan / 100;
    // The two last digits of the extremes are below the half, so rounding never leaves the
    // range.
    const Magnitude fen = (magnitudeOf(m_units) + perFen / 2) / perFen * perFen;
    return Currency(m_units < 0 ? Units(Magnitude(0) - fen) : Units(fen));
}

Currency Currency::fenHalfAwayFromZero(Wide scaledUnits, Wide scale) {
    constexpr std::int64_t perFen = unitsPerYuan / 100;
    const Wide divisor = scale * perFen;
    const Wide magnitude = scaledUnits < 0 ? -scaledUnits : scaledUnits;
    const Wide fen = (magnitude + divisor / 2) / divisor;
    const Wide units = (scaledUnits < 0 ? -fen : fen) * perFen;
    if (units > INT64_MAX || units < INT64_MIN)
        throw CurrencyRangeError(QStringLiteral("A computed amount is out of range"));
    return Currency(std::int64_t(units));
}

QString Currency::toFixed2() const {
    const Currency rounded = roundedToFen();
    return signedText(rounded.m_units, digits(magnitudeOf(rounded.m_units), 2));
}

QString Currency::toPlainText() const {
    const Magnitude magnitude = magnitudeOf(m_units);
    QString text = digits(magnitude, 4);
    while (text.endsWith(QChar('0')))
        text.chop(1);
    if (text.endsWith(QChar('.')))
        text.chop(1);
    return signedText(m_units, text);
}

Currency Currency::operator+(Currency other) const {
    Units units = 0;
    if (__builtin_add_overflow(m_units, other.m_units, &units))
        throw CurrencyRangeError(QStringLiteral("The sum of %1 and %2 is out of range")
                                     .arg(toPlainText(), other.toPlainText()));
    return Currency(units);
}

Currency Currency::operator-(Currency other) const {
    Units units = 0;
    if (__builtin_sub_overflow(m_units, other.m_units, &units))
        throw CurrencyRangeError(QStringLiteral("The difference of %1 and %2 is out of range")
                                     .arg(toPlainText(), other.toPlainText()));
    return Currency(units);
}
