#include "sheetcell.h"

#include <limits>

namespace {

constexpr int significantDigits = 15;

// "1299" + 1 in the last place: "1300"; "999" becomes "1000" (the caller adjusts the exponent).
QString incremented(QString digits) {
    for (qsizetype at = digits.size() - 1; at >= 0; --at) {
        if (digits[at] != u'9') {
            digits[at] = QChar(digits[at].unicode() + 1);
            return digits;
        }
        digits[at] = u'0';
    }
    return u'1' + digits;
}

} // namespace

std::optional<SheetNumber> SheetNumber::parse(QStringView text) {
    text = text.trimmed();
    SheetNumber number;
    qsizetype at = 0;
    if (at < text.size() && (text[at] == u'-' || text[at] == u'+'))
        number.negative = text[at++] == u'-';
    QString digits;
    digits.reserve(text.size());
    int exponent = 0;
    bool point = false;
    bool anyDigit = false;
    for (; at < text.size(); ++at) {
        const QChar c = text[at];
        if (c.isDigit() && c.unicode() < 128) {
            digits += c;
            anyDigit = true;
            if (point)
                --exponent;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    if (at < text.size()) {
        if (text[at] != u'e' && text[at] != u'E')
            return std::nullopt;
        bool ok = false;
        const int written = text.mid(at + 1).toInt(&ok);
        if (!ok || written > 400 || written < -400)
            return std::nullopt;
        exponent += written;
    }
    // Leading zeros carry nothing.
    qsizetype first = 0;
    while (first < digits.size() - 1 && digits[first] == u'0')
        ++first;
    digits = digits.mid(first);
    if (digits.size() > significantDigits) {
        const bool up = digits[significantDigits] >= u'5';
        exponent += int(digits.size() - significantDigits);
        digits.truncate(significantDigits);
        if (up) {
            const QString rounded = incremented(digits);
            if (rounded.size() > digits.size()) {
                ++exponent;
                digits = rounded.left(significantDigits);
            } else {
                digits = rounded;
            }
        }
    }
    while (digits.size() > 1 && digits.endsWith(u'0')) {
        digits.chop(1);
        ++exponent;
    }
    if (digits == u"0") {
        exponent = 0;
        number.negative = false;
    }
    number.digits = digits;
    number.exponent = exponent;
    return number;
}

std::optional<Currency> SheetNumber::toCurrency() const {
    if (decimals() > 4)
        return std::nullopt;
    // digits × 10^(exponent + 4) units; 15 digits fit, the scaling may not.
    std::int64_t units = digits.toLongLong();
    for (int shift = exponent + 4; shift > 0; --shift) {
        if (units > std::numeric_limits<std::int64_t>::max() / 10)
            return std::nullopt;
        units *= 10;
    }
    return Currency::fromUnits(negative ? -units : units);
}

std::optional<QString> SheetNumber::wholeText() const {
    if (exponent < 0)
        return std::nullopt;
    return (negative ? QStringLiteral("-") : QString()) + digits + QString(exponent, u'0');
}

std::optional<QDate> sheetSerialDate(const SheetNumber &serial, bool system1904) {
    if (serial.negative || serial.exponent > 6)
        return std::nullopt;
    // The whole days: the digits before the point.
    const qsizetype whole = serial.digits.size() + serial.exponent;
    const qint64 days =
        whole <= 0
            ? 0
            : (serial.digits.left(whole) + QString(qMax(0, serial.exponent), u'0')).toLongLong();
    QDate date;
    if (system1904) {
        date = QDate(1904, 1, 1).addDays(days);
    } else {
        if (days < 1 || days == 60)
            return std::nullopt; // day 0 and the 29th of February 1900 are no calendar days
        date = QDate(1899, 12, days < 60 ? 31 : 30).addDays(days);
    }
    if (!date.isValid() || date.year() > 9999)
        return std::nullopt;
    return date;
}
