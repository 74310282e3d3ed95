#pragma once

#include <QString>
#include <vector>

class QTableWidget;

// What a column of a settings table holds, for showing it as every window shows such values.
enum class CellKind { Text, Amount, Number, Month };

// Amounts and numbers stand right-aligned, amounts with two decimals, months as "2019年1月",
// whether the window or the clerk puts them in. A cell the clerk typed wrongly keeps its text,
// so that saving can name it.
void showCellsAs(QTableWidget *table, const std::vector<CellKind> &columns);

QString cellText(const QTableWidget *table, int row, int column);
void setCell(QTableWidget *table, int row, int column, const QString &text);
