#pragma once

#include "workbook.h"

// A legacy .xls workbook (BIFF in a compound document), read through FreeXL. Such a file
// stores numbers as binary floating values: a number's text is the value to 15 significant
// digits, as the spreadsheet program shows it. FreeXL reads a sheet whole, so the file's size
// and the sheet's rows are limited before it does. Hidden sheets and merged areas are not
// told apart in this format's reading.
class XlsWorkbook : public Workbook {
public:
    XlsWorkbook(const QString &path, SheetLimits limits = {});
    ~XlsWorkbook() override;

    QList<MergedArea> readSheet(qsizetype index,
                                const std::function<void(const SheetRow &)> &row) const override;

private:
    void open();

    QString m_path;
    SheetLimits m_limits;
    const void *m_handle = nullptr;
};
