#include "reportexport.h"

#include "reportdefinition.h"
#include "reportpainter.h"
#include "spreadsheetexport.h"

#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <stdexcept>

const QList<ReportExport> &reportExports() {
    static const QList<ReportExport> exports = {
        {QStringLiteral("导出PDF"), QStringLiteral("pdf"), QStringLiteral("PDF (*.pdf)"),
         [](const PreviewedReport &report, const QString &path) { writePdf(report.pages, path); }},
        {QStringLiteral("导出Excel"), QStringLiteral("xlsx"), QStringLiteral("Excel (*.xlsx)"),
         writeSpreadsheet},
    };
    return exports;
}

void writePdf(const PageModel &pages, const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error(
            QStringLiteral("无法写入文件 %1：%2").arg(path, file.errorString()).toStdString());
    QPdfWriter writer(&file);
    writer.setTitle(QFileInfo(path).completeBaseName());
    paintReport(pages, writer);
}

void writeSpreadsheet(const PreviewedReport &report, const QString &path) {
    const ReportDefinition &definition = report.definition;
    const SheetLayout layout{report.documentName.section(QLatin1Char('_'), 0, 0),
                             definition.title.isEmpty() ? report.documentName : definition.title,
                             definition.columns, definition.totalsRow};
    exportSpreadsheet(path, layout, report.rows);
}
