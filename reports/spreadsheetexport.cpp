#include "spreadsheetexport.h"

#include "currency.h"
#include "progress.h"
#include "query.h"
#include "salarycolumns.h"

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

QByteArray utf8(const QString &text) {
    return text.toUtf8();
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

class Sheet {
public:
    // Writes to the partial file; failures name the file the operator chose.
    Sheet(const ExportFile &file, const QString &name) : m_file(file) {
        m_workbook = workbook_new(utf8(file.partialPath()).constData());
        if (!m_workbook)
            fail(QStringLiteral("无法建立表格文件"));
        m_sheet = workbook_add_worksheet(m_workbook, utf8(name.left(31)).constData());
        m_text = newFormat();
        m_bold = newFormat();
        format_set_bold(m_bold);
        m_amount = newFormat();
        format_set_num_format(m_amount, "0.00");
    }
    ~Sheet() {
        if (m_workbook)
            workbook_close(m_workbook); // only after a failure: nothing depends on the result
    }
    Sheet(const Sheet &) = delete;
    Sheet &operator=(const Sheet &) = delete;

    void text(int row, int column, const QString &value, bool bold = false) {
        check(worksheet_write_string(m_sheet, row, column, utf8(value).constData(),
                                     bold ? m_bold : m_text));
    }
    void number(int row, int column, qint64 value) {
        check(worksheet_write_number(m_sheet, row, column, double(value), m_text));
    }
    void amount(int row, int column, Currency value) {
        check(worksheet_write_number(m_sheet, row, column, value.toDouble(), m_amount));
    }
    // A SUM over the rows from `first` to `last` of the column, showing `total` until the
    // spreadsheet recalculates it to the same figure.
    void sum(int row, int column, int first, int last, Currency total) {
        char range[LXW_MAX_CELL_RANGE_LENGTH];
        lxw_rowcol_to_range(range, first, column, last, column);
        const QByteArray formula = QByteArrayLiteral("=SUM(") + range + ')';
        check(worksheet_write_formula_num(m_sheet, row, column, formula.constData(), m_amount,
                                          total.toDouble()));
    }
    // `total` of the row as a formula over the row's cells of the added and subtracted columns,
    // which hold `values`. A total also takes in salary slots no column shows (an item since
    // removed): that part stands in the formula as a number, so the formula's figure is the
    // exact total, cached as such.
    void rowTotal(int row, int column, const RowTotal &parts, const std::vector<Currency> &values,
                  Currency total) {
        QByteArray formula;
        Currency rest = total;
        auto term = [&](int part, char sign) {
            char cell[LXW_MAX_CELL_NAME_LENGTH];
            lxw_rowcol_to_cell(cell, row, part);
            if (sign == '-' || !formula.isEmpty())
                formula += sign;
            formula += cell;
            rest =
                sign == '+' ? rest - values[std::size_t(part)] : rest + values[std::size_t(part)];
        };
        for (const int part : parts.added)
            term(part, '+');
        for (const int part : parts.subtracted)
            term(part, '-');
        if (formula.isEmpty()) {
            amount(row, column, total);
            return;
        }
        if (rest != Currency())
            formula += (rest < Currency() ? "" : "+") + rest.toPlainText().toLatin1();
        check(worksheet_write_formula_num(m_sheet, row, column, ("=" + formula).constData(),
                                          m_amount, total.toDouble()));
    }
    void width(int column, int characters) {
        check(worksheet_set_column(m_sheet, column, column, characters, nullptr));
    }
    void freezeAbove(int row) { worksheet_freeze_panes(m_sheet, row, 0); }
    // Printed like the report: landscape A4, the header row again on every page.
    void printLikeTheReport(int headerRow) {
        constexpr std::uint8_t a4 = 9;
        worksheet_set_landscape(m_sheet);
        worksheet_set_paper(m_sheet, a4);
        check(worksheet_repeat_rows(m_sheet, headerRow, headerRow));
    }

    void close() {
        const lxw_error result = workbook_close(m_workbook);
        m_workbook = nullptr;
        if (result != LXW_NO_ERROR)
            fail(QString::fromUtf8(lxw_strerror(result)));
    }

private:
    lxw_format *newFormat() {
        lxw_format *format = workbook_add_format(m_workbook);
        format_set_font_name(format, "宋体"); // Chinese shows in a Chinese font everywhere
        return format;
    }
    void check(lxw_error result) const {
        if (result != LXW_NO_ERROR)
            fail(QString::fromUtf8(lxw_strerror(result)));
    }
    [[noreturn]] void fail(const QString &reason) const { m_file.fail(reason); }

    const ExportFile &m_file;
    lxw_workbook *m_workbook = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_text = nullptr;
    lxw_format *m_bold = nullptr;
    lxw_format *m_amount = nullptr;
};

void writeSheet(Sheet &sheet, const SheetLayout &layout, const Query &rows, Progress *progress) {
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
    sheet.printLikeTheReport(header);

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
                    sheet.number(row, column, value.asInteger());
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
                sheet.rowTotal(row, column, *formula, amounts, amount);
            else
                sheet.amount(row, column, amount);
        }
    }
    if (layout.totalsRow && row > first) {
        for (int column = 0; column < layout.columns.size(); ++column)
            if (layout.columns[column].amount)
                sheet.sum(row, column, first, row - 1, totals[column]);
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
        Sheet sheet(file, layout.sheetName);
        writeSheet(sheet, layout, rows, progress);
        sheet.close();
    }
    file.commit();
}
