#include "datetext.h"

#include <QDate>
#include <QRegularExpression>

bool isEmptyDateText(const QString &text) {
    return text == QStringLiteral("    -  -  ");
}

bool isCalendarDate(const QString &text) {
    static const QRegularExpression form(
        QStringLiteral("^([0-9]{4})-([ 0-9][0-9])-([ 0-9][0-9])$"));
    const QRegularExpressionMatch parts = form.match(text);
    if (!parts.hasMatch())
        return false;
    const auto number = [&](int part) { return parts.captured(part).trimmed().toInt(); };
    return QDate(number(1), number(2), number(3)).isValid();
}
