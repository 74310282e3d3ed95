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

// Whether a text is a month key the clerk typed: "yyyymm", a month from 01 to 12, among the
// months the program keeps; one outside them would be stored where no window reaches it.
inline bool isMonthKey(const QString &text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return text.size() == 6 && ok && value % 100 >= 1 && value % 100 <= 12 &&
           isMonthKeyInRange(text);
}

// A month key as the windows show it: "201901" is "2019年1月". Anything else as it is.
inline QString monthCaption(const QString &key) {
    if (!isMonthKey(key))
        return key;
    return QStringLiteral("%1年%2月").arg(key.left(4)).arg(key.mid(4).toInt());
}
