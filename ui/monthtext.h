#pragma once

#include "monthkey.h"

#include <QString>

// Whether a text is a month key the clerk typed: "yyyymm", a month from 01 to 12, among the
// months the program keeps; one outside them would be stored where no window reaches it.
inline bool isMonthKey(const QString &text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return text.size() == 6 && ok && value % 100 >= 1 && value % 100 <= 12 &&
           isMonthKeyInRange(text);
}

// Whether a text is a year the clerk typed, "yyyy", among the years the program keeps.
inline bool isKeptYear(const QString &text) {
    return text.size() == 4 && isMonthKey(text + QStringLiteral("01"));
}
