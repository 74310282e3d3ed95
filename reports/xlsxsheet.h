#pragma once

#include "currency.h"

#include <QByteArray>
#include <QString>

class ExportFile;
struct lxw_format;
struct lxw_workbook;
struct lxw_worksheet;

// A workbook of one worksheet, written to an export file's partial file by its name. Every
// failure of the writer throws through the export file, naming the file the clerk chose.
class XlsxSheet {
public:
    struct Look {
        // Texts kept as texts when the clerk edits them: identity numbers and accounts keep
        // their leading zeros and every digit.
        bool textsStayText = false;
        // The font of every cell; null for the spreadsheet program's own.
        const char *font = nullptr;
    };

    XlsxSheet(const ExportFile &file, const QString &name, Look look);
    ~XlsxSheet();
    XlsxSheet(const XlsxSheet &) = delete;
    XlsxSheet &operator=(const XlsxSheet &) = delete;

    void text(int row, int column, const QString &value, bool bold = false);
    void number(int row, int column, double value);
    // With two decimals, as every amount is shown.
    void amount(int row, int column, Currency value);
    // A formula shown as `cached` until the spreadsheet recalculates it.
    void formula(int row, int column, const QByteArray &formula, Currency cached);
    void width(int column, int characters);
    void freezeAbove(int row);
    // Printed like a report: landscape A4, `headerRow` again on every page.
    void printLikeTheReports(int headerRow);
    // Writes the file; the export file then commits it.
    void close();

private:
    lxw_format *newFormat();
    void check(int result) const;

    const ExportFile &m_file;
    Look m_look;
    lxw_workbook *m_workbook = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_plain = nullptr;
    lxw_format *m_text = nullptr;
    lxw_format *m_bold = nullptr;
    lxw_format *m_amount = nullptr;
};
