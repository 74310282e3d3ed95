#pragma once

#include <QString>

// Whether a text is a month key the clerk typed: "yyyymm", a month from 01 to 12.
inline bool isMonthKey(const QString &text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return text.size() == 6 && ok && value % 100 >= 1 && value % 100 <= 12 && value / 100 >= 1900;
}
