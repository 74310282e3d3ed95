#pragma once

#include "monthkey.h"

#include <QString>

// Whether a text is a year the clerk typed, "yyyy", among the years the program keeps.
inline bool isKeptYear(const QString &text) {
    return text.size() == 4 && isMonthKey(text + QStringLiteral("01"));
}

// The month key of what the clerk typed or was shown, "201901" or "2019年1月"; other text as
// it is, for isMonthKey to refuse.
inline QString monthKeyOf(const QString &text) {
    const QString typed = text.trimmed();
    const qsizetype year = typed.indexOf(QChar(u'年'));
    if (year != 4 || !typed.endsWith(QChar(u'月')))
        return typed;
    const QString month = typed.mid(5, typed.size() - 6);
    bool ok = false;
    const int number = month.toInt(&ok);
    if (!ok || month.size() > 2 || !month.front().isDigit())
        return typed;
    const QString key = monthKey(typed.left(4).toInt(), number);
    return isMonthKey(key) ? key : typed;
}
