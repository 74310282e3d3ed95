#pragma once

#include "sheetcell.h"

#include <QList>
#include <QString>
#include <functional>
#include <memory>

// How much of a workbook the program reads before it refuses it as hostile or too large.
struct SheetLimits {
    qint64 maxPartBytes = 256LL * 1024 * 1024; // inflated, per part; a legacy file whole
    int maxRows = 100000;
};

// One row of a sheet as read: its number (1 for the first row) and its cells by column
// (index 0 is column A); cells after the last written one are left out.
struct SheetRow {
    int number = 0;
    QList<SheetCell> cells;

    SheetCell cell(int column) const { return column < cells.size() ? cells[column] : SheetCell{}; }
};

// An area of cells merged into one, rows and columns counted from 1.
struct MergedArea {
    int firstRow = 0, firstColumn = 0, lastRow = 0, lastColumn = 0;
    QString reference; // "A1:C1"
};

// The columns a sheet has at most.
constexpr int sheetColumns = 16384;

// "C" → 2, "AA" → 26; -1 for anything else.
int sheetColumnIndex(QStringView letters);
// 0 → "A", 26 → "AA".
QString sheetColumnName(int index);

// A workbook opened for an import: its sheets and its date system, and each sheet's rows on
// request. Its kind is found from the file itself, not from the file's name.
class Workbook {
public:
    struct Sheet {
        QString name;
        bool hidden = false;
    };

    virtual ~Workbook() = default;

    const QList<Sheet> &sheets() const { return m_sheets; }
    // The workbook counts its dates from 1904 rather than 1900.
    bool uses1904() const { return m_1904; }

    // Hands each row of sheet `index` that has a cell to `row`, in order, and returns the areas
    // merged on the sheet. Throws SpreadsheetError for a damaged sheet and for one of more rows
    // than the limit.
    virtual QList<MergedArea> readSheet(qsizetype index,
                                        const std::function<void(const SheetRow &)> &row) const = 0;

protected:
    QList<Sheet> m_sheets;
    bool m_1904 = false;
};

// Opens the .xlsx or legacy .xls workbook at `path`; throws SpreadsheetError for any other file
// and for one that cannot be read.
std::unique_ptr<Workbook> openWorkbook(const QString &path, SheetLimits limits = {});
