#pragma once

#include "currency.h"

#include <QDate>
#include <QString>
#include <optional>

// One cell of a worksheet as the file stores it: the kind the file gives it and its text
// exactly as written there. A number keeps its decimal text ("1234.56", "1.5E-3"), so that an
// amount never passes through a double; a date is a number counting days.
struct SheetCell {
    enum class Kind { Empty, Number, Text, Boolean, Error };
    Kind kind = Kind::Empty;
    QString text;

    bool isEmpty() const { return kind == Kind::Empty || text.trimmed().isEmpty(); }
};

// What a spreadsheet's number text holds, read exactly. Spreadsheet programs keep 15
// significant digits and write a value's last binary digits as they are ("0.30000000000000004"
// for a sum of 0.1 and 0.2): the text is rounded to 15 significant digits first, as the sheet
// itself shows it.
struct SheetNumber {
    // The decimal digits without sign or point, at most 15, no trailing zeros; "0" for zero.
    QString digits;
    // The value is digits × 10^exponent.
    int exponent = 0;
    bool negative = false;

    // Read from "-12.5", "1.2345E+17", "3e-2"; nothing for any other text.
    static std::optional<SheetNumber> parse(QStringView text);

    // How many digits follow the point (0 for a whole number).
    int decimals() const { return exponent < 0 ? -exponent : 0; }
    // As ten-thousandths; nothing when it has more than four decimals or does not fit.
    std::optional<Currency> toCurrency() const;
    // The whole number it is, as text ("110101199003077777"); nothing for a fraction.
    std::optional<QString> wholeText() const;
};

// The calendar day a date serial number stands for: in the 1900 system day 1 is 1900-01-01
// and the fictitious 1900-02-29 (day 60) is counted; in the 1904 system day 0 is 1904-01-01.
// A fraction (the time of day) is dropped. Nothing for a number that is no day of 1900..9999.
std::optional<QDate> sheetSerialDate(const SheetNumber &serial, bool system1904);
