#include "salarycolumns.h"

namespace SalaryColumns {

namespace {

// "(f1+f2+...+f20)"
QString columnSum(QChar prefix) {
    QStringList columns;
    for (int slot = 1; slot <= itemsPerKind; ++slot)
        columns << prefix + QString::number(slot);
    return QLatin1Char('(') + columns.join(QLatin1Char('+')) + QLatin1Char(')');
}

QString netPayExpression() {
    return columnSum(QLatin1Char('f')) + QLatin1Char('-') + columnSum(QLatin1Char('k'));
}

} // namespace

QString itemColumn(const QString &kind, int slot) {
    return (kind == deduction ? QLatin1Char('k') : QLatin1Char('f')) + QString::number(slot);
}

QStringList rowTotalLines() {
    return {columnSum(QLatin1Char('f')) + QStringLiteral(" as ") + earningsTotal + QLatin1Char(','),
            columnSum(QLatin1Char('k')) + QStringLiteral(" as ") + deductionsTotal +
                QLatin1Char(','),
            netPayExpression() + QStringLiteral(" as ") + netPay};
}

QStringList groupTotalLines() {
    return {QStringLiteral("sum") + columnSum(QLatin1Char('f')) + QStringLiteral(" as ") +
                earningsTotal + QLatin1Char(','),
            QStringLiteral("sum") + columnSum(QLatin1Char('k')) + QStringLiteral(" as ") +
                deductionsTotal + QLatin1Char(','),
            QStringLiteral("sum(") + netPayExpression() + QStringLiteral(") as ") + netPay};
}

QStringList columnSumLines() {
    QStringList lines;
    for (QChar prefix : {QLatin1Char('f'), QLatin1Char('k')}) {
        for (int first = 1; first <= itemsPerKind; first += 5) {
            QString line;
            for (int slot = first; slot < first + 5; ++slot)
                line += QStringLiteral("sum(%1%2) as %1%2,").arg(prefix).arg(slot);
            lines << line;
        }
    }
    return lines;
}

} // namespace SalaryColumns
