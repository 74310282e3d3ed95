#pragma once

#include <QString>

// The month key "yyyymm": fixed width, so text order is time order.
inline QString monthKey(int year, int month) {
    return QStringLiteral("%1%2").arg(year, 4, 10, QChar('0')).arg(month, 2, 10, QChar('0'));
}
