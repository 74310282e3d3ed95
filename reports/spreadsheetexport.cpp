#include "spreadsheetexport.h"

#include "currency.h"
#include "progress.h"
#include "query.h"
#include "salarycolumns.h"
#include "xlsxsheet.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>
#include <xlsxwriter.h>

namespace {

// Spreadsheet programs measure column widths in Latin digits; a Chinese character takes two.
int displayWidth(const QString &text) {
    int width = 0;
    for (const QChar c : text)
        width += c.unicode() >= 0x2e80 ? 2 : 1;
    return width;
}

// A row's total as the sheet computes it from the row's own amount cells, so that it follows a
// figure the clerk changes.
struct RowTotal {
    QList<int> added;      // columns
    QList<int> subtracted; // columns
};

// "f3" is an earning item's column, "k1" a deduction item's.
bool isItemOf(const QString &field, QChar kind) {
    if (field.size() < 2 || field.front().toLower() != kind)
        return false;
    bool slot = false;
    field.mid(1).toInt(&slot);
    return slot;
}

// The totals among the columns, each with the columns it adds up: the earnings total adds the
// earning items, the deductions total the deduction items, net pay is the one less the other.
std::vector<std::optional<RowTotal>> rowTotals(const QList<ReportColumn> &columns) {
    auto find = [&](auto matches) {
        QList<int> found;
        for (int column = 0; column < columns.size(); ++column)
            if (columns[column].amount && matches(columns[column].field))
                found << column;
        return found;
    };
    auto named = [](const QString &name) {
        return
            [name](const QString &field) { return field.compare(name, Qt::CaseInsensitive) == 0; };
    };
    const QList<int> earnings = find([](const QString &f) { return isItemOf(f, u'f'); });
    const QList<int> deductions = find([](const QString &f) { return isItemOf(f, u'k'); });
    const QList<int> earningsTotal = find(named(SalaryColumns::earningsTotal));
    const QList<int> deductionsTotal = find(named(SalaryColumns::deductionsTotal));

    std::vector<std::optional<RowTotal>> totals(columns.size());
    for (const int column : earningsTotal)
        totals[column] = RowTotal{earnings, {}};
    for (const int column : deductionsTotal)
        totals[column] = RowTotal{deductions, {}};
    for (const int column : find(named(SalaryColumns::netPay)))
        totals[column] =
            RowTotal{earningsTotal.isEmpty() ? earnings : earningsTotal.mid(0, 1),
                     deductionsTotal.isEmpty() ? deductions : deductionsTotal.mid(0, 1)};
    return totals;
}

// A SUM over the rows from `first` to `last` of the column, showing `total` until the
// spreadsheet recalculates it to the same figure.
void writeSum(XlsxSheet &sheet, int row, int column, int first, int last, Currency total) {
    char range[LXW_MAX_CELL_RANGE_LENGTH];
    lxw_rowcol_to_range(range, lxw_row_t(first), lxw_col_t(column), lxw_row_t(last),
                        lxw_col_t(column));
    sheet.formula(row, column, QByteArrayLiteral("=SUM(") + range + ')', total);
}

// `total` of the row as a formula over the row's cells of the added and subtracted columns,
// which hold `values`. A total also takes in salary slots no column shows (an item since
// removed): that part stands in the formula as a number, so the formula's figure is the
// exact total, cached as such.
void writeRowTotal(XlsxSheet &sheet, int row, int column, const RowTotal &parts,
                   const std::vector<Currency> &values, Currency total) {
    QByteArray formula;
    Currency rest = total;
    auto term = [&](int part, char sign) {
        char cell[LXW_MAX_CELL_NAME_LENGTH];
        lxw_rowcol_to_cell(cell, lxw_row_t(row), lxw_col_t(part));
        if (sign == '-' || !formula.isEmpty())
            formula += sign;
        formula += cell;
        rest = sign == '+' ? rest - values[std::size_t(part)] : rest + values[std::size_t(part)];
    };
    for (const int part : parts.added)
        term(part, '+');
    for (const int part : parts.subtracted)
        term(part, '-');
    if (formula.isEmpty()) {
        sheet.amount(row, column, total);
        return;
    }
    if (rest != Currency())
        formula += (rest < Currency() ? "" : "+") + rest.toPlainText().toLatin1();
    sheet.formula(row, column, "=" + formula, total);
}

void writeSheet(XlsxSheet &sheet, const SheetLayout &layout, const Query &rows,
                Progress *progress) {
    int row = 0;
    if (!layout.title.isEmpty())
        sheet.text(row++, 0, layout.title, true);
    const int header = row++;
    std::vector<int> widths;
    for (int column = 0; column < layout.columns.size(); ++column) {
        sheet.text(header, column, layout.columns[column].caption, true);
        widths.push_back(displayWidth(layout.columns[column].caption));
    }
    sheet.freezeAbove(header + 1);
    sheet.printLikeTheReports(header);

    const int first = row;
    const std::vector<std::optional<RowTotal>> formulas = rowTotals(layout.columns);
    std::vector<Currency> totals(layout.columns.size());
    std::vector<Currency> amounts(layout.columns.size());
    for (int record = 0; record < rows.recordCount(); ++record, ++row) {
        if (progress)
            progress->step(record);
        for (int column = 0; column < layout.columns.size(); ++column) {
            const ReportColumn &shown = layout.columns[column];
            const Field value = rows.fieldAt(record, shown.field);
            if (shown.amount) {
                const Currency amount = value.asCurrency();
                amounts[std::size_t(column)] = amount;
                totals[column] += amount;
                widths[column] = std::max(widths[column], int(amount.toFixed2().size()));
            } else {
                const QString text = value.asString();
                if (value.isInteger())
                    sheet.number(row, column, double(value.asInteger()));
                else
                    sheet.text(row, column, text);
                widths[column] = std::max(widths[column], displayWidth(text));
            }
        }
        for (int column = 0; column < layout.columns.size(); ++column) {
            if (!layout.columns[column].amount)
                continue;
            const Currency amount = amounts[std::size_t(column)];
            if (const auto &formula = formulas[std::size_t(column)])
                writeRowTotal(sheet, row, column, *formula, amounts, amount);
            else
                sheet.amount(row, column, amount);
        }
    }
    if (layout.totalsRow && row > first) {
        for (int column = 0; column < layout.columns.size(); ++column)
            if (layout.columns[column].amount)
                writeSum(sheet, row, column, first, row - 1, totals[column]);
    }
    for (int column = 0; column < int(widths.size()); ++column)
        sheet.width(column, widths[column] + 2);
}

} // namespace

void exportSpreadsheet(const QString &path, const SheetLayout &layout, const Query &rows,
                       Progress *progress) {
    ExportFile file(path);
    file.device().close(); // the workbook writes the file by its name
    {
        // Chinese shows in a Chinese font everywhere.
        XlsxSheet sheet(file, layout.sheetName, {.font = "宋体"});
        writeSheet(sheet, layout, rows, progress);
        sheet.close();
    }
    file.commit();
}
