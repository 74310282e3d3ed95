#pragma once

#include "exportfile.h"
#include "reportdefinition.h"

#include <QList>
#include <QString>

class Progress;
class Query;

// What a report looks like as a worksheet: an optional title row, one header row of
// captions, one row per result row, and, where the report totals its amounts, a row of SUM
// formulas under the amount columns.
struct SheetLayout {
    QString sheetName;
    QString title; // none when empty
    QList<ReportColumn> columns;
    bool totalsRow = false;
};

// Writes every row of `rows`, in its order, to an .xlsx file at `path`. Amounts are numbers
// with two decimals from the exact stored values, whole numbers (an employee's number) are
// numbers, month keys and names are texts. It prints on landscape A4 with the header row on
// every page.
// The file appears under its name only when complete: a failure leaves whatever was there
// before and throws ExportError. Steps `progress` over the rows, when given.
void exportSpreadsheet(const QString &path, const SheetLayout &layout, const Query &rows,
                       Progress *progress = nullptr);
