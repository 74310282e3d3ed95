#pragma once

#include "workbook.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// A sheet read for an import: the row of column headers and the rows below it. The header row
// is the one among the first rows that names most of the columns the import knows, so that a
// title row above it (as the program's own exports write) is passed over.
struct ImportSheet {
    int headerRow = 0;    // its number on the sheet
    QStringList headers;  // by column, trimmed
    QList<SheetRow> rows; // below the header row, with a cell each
    bool uses1904 = false;
    // The merged areas that reach below the header row: their cells hold nothing.
    QList<MergedArea> mergedBelowHeader;

    // The column whose header is `name`; -1 when none is.
    int column(const QString &name) const { return int(headers.indexOf(name)); }
};

// Reads sheet `index` of `book`, calling `pulse` every so many rows so that long reading
// shows and may be cancelled. A hidden sheet is refused with a SpreadsheetError: the clerk
// would import what they cannot see.
ImportSheet readImportSheet(const Workbook &book, qsizetype index,
                            const QStringList &knownHeaders, const std::function<void()> &pulse);

// The text a cell shows: a text trimmed, a whole number without a point, anything else as
// stored.
QString cellText(const SheetCell &cell);

// The identity document number in `cell`, as text. A number there is refused, with a problem
// added: the spreadsheet program keeps only 15 digits of it.
std::optional<QString> documentText(const SheetCell &cell, const QString &place,
                                    QStringList &problems);

// "第 12 行" and "第 12 行“基本工资”列": where a problem lies, as the clerk finds it.
QString rowPlace(int row);
QString cellPlace(int row, const QString &header);
