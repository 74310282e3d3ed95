#include "currency.h"

#include <cmath>
#include <cstdlib>

Currency Currency::fromDouble(double yuan) {
    return Currency(std::llround(yuan * double(unitsPerYuan)));
}

QString Currency::toFixed2() const {
    const std::int64_t magnitude = std::llabs(m_units);
    const std::int64_t cents = (magnitude + 50) / 100;
    const QString digits =
        QStringLiteral("%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QChar('0'));
    return cents != 0 && m_units < 0 ? QStringLiteral("-") + digits : digits;
}

QString Currency::toPlainText() const {
    const std::int64_t magnitude = std::llabs(m_units);
    QString text = QString::number(magnitude / unitsPerYuan);
    if (const std::int64_t fraction = magnitude % unitsPerYuan; fraction != 0) {
        QString decimals = QStringLiteral("%1").arg(fraction, 4, 10, QChar('0'));
        while (decimals.endsWith(QChar('0')))
            decimals.chop(1);
        text += QChar('.') + decimals;
    }
    return m_units < 0 ? QStringLiteral("-") + text : text;
}
