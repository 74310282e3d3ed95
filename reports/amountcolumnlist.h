#pragma once

#include <QList>
#include <QString>

class DBGrid;

// One amount column of the reporting windows: a salary item or one of the three totals, with
// the result field that holds its value.
struct AmountColumn {
    QString caption;
    QString field;
};

// The amount columns for the salary items as they stand now: the earning items in slot order,
// the earnings total, the deduction items in slot order, the deductions total and net pay.
// Reads the items through AQ2.
QList<AmountColumn> buildAmountColumns();

// Appends one column per amount column after the grid's own columns: 50 pixels wide, values
// to the right.
void addAmountGridColumns(DBGrid &grid, const QList<AmountColumn> &columns);
