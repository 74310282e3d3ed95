#pragma once

#include <QString>

// The month key "yyyymm": fixed width, so text order is time order.
inline QString monthKey(int year, int month) {
    return QStringLiteral("%1%2").arg(year, 4, 10, QChar('0')).arg(month, 2, 10, QChar('0'));
}

// The months the program keeps: January 2005 to December 2100, the range of its year boxes.
// A key outside them would be stored where no window reaches it.
inline bool isMonthKeyInRange(const QString &key) {
    return key.size() == 6 && key >= QStringLiteral("200501") && key <= QStringLiteral("210012") &&
           key.mid(4) >= QStringLiteral("01") && key.mid(4) <= QStringLiteral("12");
}
