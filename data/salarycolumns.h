#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// Where a salary item's amounts live, and the select-list lines that total a salary row.
// The entry window, the reports and the tests all take them from here.
namespace SalaryColumns {

constexpr int itemsPerKind = 20;

// The kinds of salary item, as GZXMZD.S_FK holds them.
inline const QString earning = QStringLiteral("0");
inline const QString deduction = QStringLiteral("1");

// The three totals of a salary row, computed in the select list under these names and never
// stored: earnings, deductions, and net pay (earnings less deductions).
inline const QString earningsTotal = QStringLiteral("f_h");
inline const QString deductionsTotal = QStringLiteral("k_h");
inline const QString netPay = QStringLiteral("sf");
inline const QStringList totalColumns = {earningsTotal, deductionsTotal, netPay};

// The column of the item of the given kind whose slot (1-based rank among the items of its
// kind ordered by bh) is `slot`: "f3" for the third earning item, "k1" for the first
// deduction item.
QString itemColumn(const QString &kind, int slot);

// The three per-row total lines, f_h, k_h, sf, each as a statement carries it (trailing comma
// on the first two).
QStringList rowTotalLines();

// The three total lines over groups of rows, sum(...) of the same expressions.
QStringList groupTotalLines();

// The eight lines that sum every item column under its own name, five to a line, each ending
// with a comma: "sum(f1) as f1,sum(f2) as f2,...".
QStringList columnSumLines();

} // namespace SalaryColumns
