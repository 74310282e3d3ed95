#include "xlsxsheet.h"

#include "exportfile.h"

#include <cstdint>
#include <xlsxwriter.h>

XlsxSheet::XlsxSheet(const ExportFile &file, const QString &name, Look look)
    : m_file(file), m_look(look) {
    m_workbook = workbook_new(file.partialPath().toUtf8().constData());
    if (!m_workbook)
        m_file.fail(QStringLiteral("无法建立表格文件"));
    // A sheet's name holds at most 31 characters.
    m_sheet = workbook_add_worksheet(m_workbook, name.left(31).toUtf8().constData());
    m_plain = newFormat();
    m_text = newFormat();
    if (m_look.textsStayText)
        format_set_num_format(m_text, "@");
    m_bold = newFormat();
    format_set_bold(m_bold);
    m_amount = newFormat();
    format_set_num_format(m_amount, "0.00");
}

XlsxSheet::~XlsxSheet() {
    if (m_workbook)
        workbook_close(m_workbook); // only after a failure: nothing depends on the result
}

lxw_format *XlsxSheet::newFormat() {
    lxw_format *format = workbook_add_format(m_workbook);
    if (m_look.font)
        format_set_font_name(format, m_look.font);
    return format;
}

void XlsxSheet::check(int result) const {
    if (result != LXW_NO_ERROR)
        m_file.fail(QString::fromUtf8(lxw_strerror(lxw_error(result))));
}

void XlsxSheet::text(int row, int column, const QString &value, bool bold) {
    check(worksheet_write_string(m_sheet, lxw_row_t(row), lxw_col_t(column),
                                 value.toUtf8().constData(), bold ? m_bold : m_text));
}

void XlsxSheet::number(int row, int column, double value) {
    check(worksheet_write_number(m_sheet, lxw_row_t(row), lxw_col_t(column), value, m_plain));
}

void XlsxSheet::amount(int row, int column, Currency value) {
    check(worksheet_write_number(m_sheet, lxw_row_t(row), lxw_col_t(column), value.toDouble(),
                                 m_amount));
}

void XlsxSheet::formula(int row, int column, const QByteArray &formula, Currency cached) {
    check(worksheet_write_formula_num(m_sheet, lxw_row_t(row), lxw_col_t(column),
                                      formula.constData(), m_amount, cached.toDouble()));
}

void XlsxSheet::width(int column, int characters) {
    check(worksheet_set_column(m_sheet, lxw_col_t(column), lxw_col_t(column), characters, nullptr));
}

void XlsxSheet::freezeAbove(int row) {
    worksheet_freeze_panes(m_sheet, lxw_row_t(row), 0);
}

void XlsxSheet::printLikeTheReports(int headerRow) {
    constexpr std::uint8_t a4 = 9;
    worksheet_set_landscape(m_sheet);
    worksheet_set_paper(m_sheet, a4);
    check(worksheet_repeat_rows(m_sheet, lxw_row_t(headerRow), lxw_row_t(headerRow)));
}

void XlsxSheet::close() {
    const lxw_error result = workbook_close(m_workbook);
    m_workbook = nullptr;
    check(result);
}
