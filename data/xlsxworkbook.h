#pragma once

#include "workbook.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class XlsxPackage;

// An .xlsx workbook opened for reading: its sheets, its date system and shared strings. A
// sheet is streamed row by row, never held whole. Formulas give their last computed value.
class XlsxWorkbook : public Workbook {
public:
    // Throws SpreadsheetError for a file that is not a readable workbook.
    explicit XlsxWorkbook(const QString &path, SheetLimits limits = {});
    ~XlsxWorkbook() override;

    QList<MergedArea> readSheet(qsizetype index,
                                const std::function<void(const SheetRow &)> &row) const override;

private:
    // Reads the sheets and the date system; returns the part of the shared strings, if any.
    QString readWorkbook();
    void readSharedStrings(const QString &part);

    QString m_path;
    SheetLimits m_limits;
    std::unique_ptr<XlsxPackage> m_package;
    QStringList m_parts; // of each sheet: "xl/worksheets/sheet1.xml"
    QStringList m_shared;
};
