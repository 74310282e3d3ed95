#pragma once

#include "sheetcell.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class XlsxPackage;

// How much of a workbook the program reads before it refuses it as hostile or too large.
struct SheetLimits {
    qint64 maxPartBytes = 256LL * 1024 * 1024; // inflated, per part
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

// An .xlsx workbook opened for reading: its sheets, its date system and shared strings. A
// sheet is streamed row by row, never held whole.
class XlsxWorkbook {
public:
    struct Sheet {
        QString name;
        bool hidden = false;
        QString part; // "xl/worksheets/sheet1.xml"
    };

    // Throws SpreadsheetError for a file that is not a readable workbook.
    explicit XlsxWorkbook(const QString &path, SheetLimits limits = {});
    ~XlsxWorkbook();

    const QList<Sheet> &sheets() const { return m_sheets; }
    // The workbook counts its dates from 1904 rather than 1900.
    bool uses1904() const { return m_1904; }

    // Hands each row of sheet `index` that has a cell to `row`, in order, and returns the areas
    // merged on the sheet. Formulas give their last computed value. Throws SpreadsheetError for
    // a damaged sheet and for one of more rows than the limit.
    QList<MergedArea> readSheet(qsizetype index,
                                const std::function<void(const SheetRow &)> &row) const;

private:
    // Reads the sheets and the date system; returns the part of the shared strings, if any.
    QString readWorkbook();
    void readSharedStrings(const QString &part);

    QString m_path;
    SheetLimits m_limits;
    std::unique_ptr<XlsxPackage> m_package;
    QList<Sheet> m_sheets;
    QStringList m_shared;
    bool m_1904 = false;
};

// "C" → 2, "AA" → 26; -1 for anything else.
int sheetColumnIndex(QStringView letters);
// 0 → "A", 26 → "AA".
QString sheetColumnName(int index);
