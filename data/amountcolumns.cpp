#include "amountcolumns.h"

#include "salarycolumns.h"

bool isAmountColumn(QStringView name) {
    for (const QString &total : SalaryColumns::totalColumns)
        if (name.compare(total, Qt::CaseInsensitive) == 0)
            return true;
    if (name.size() < 2 || name.size() > 3)
        return false;
    const QChar kind = name.front().toLower();
    if (kind != QChar('f') && kind != QChar('k'))
        return false;
    int slot = 0;
    for (const QChar digit : name.mid(1)) {
        if (!digit.isDigit() || (slot == 0 && digit == QChar('0')))
            return false;
        slot = slot * 10 + digit.digitValue();
    }
    return slot >= 1 && slot <= SalaryColumns::itemsPerKind;
}
