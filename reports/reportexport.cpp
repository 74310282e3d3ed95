#include "reportexport.h"

#include "exportfile.h"
#include "progress.h"
#include "query.h"
#include "reportdefinition.h"
#include "reportpainter.h"
#include "spreadsheetexport.h"

#include <QFileInfo>
#include <QPdfWriter>
#include <QPrinter>
#include <QScopeGuard>

const QList<ReportExport> &reportExports() {
    static const QList<ReportExport> exports = {
        {QStringLiteral("导出PDF"), QStringLiteral("pdf"), QStringLiteral("PDF (*.pdf)"),
         [](const PreviewedReport &report, const QString &path, Progress *progress) {
             writePdf(report.pages, path, progress);
         }},
        {QStringLiteral("导出Excel"), QStringLiteral("xlsx"), QStringLiteral("Excel (*.xlsx)"),
         writeSpreadsheet},
    };
    return exports;
}

void writePdf(const PageModel &pages, const QString &path, Progress *progress) {
    ExportFile file(path);
    if (progress)
        progress->setTotal(int(pages.size()));
    {
        QPdfWriter writer(&file.device());
        writer.setTitle(QFileInfo(path).completeBaseName());
        // A full disk shows at the page it happens on, not after the whole report.
        paintReport(pages, writer, [&](int drawn) {
            file.check();
            if (progress)
                progress->step(drawn);
        });
    }
    file.commit();
}

void printPages(const PageModel &pages, QPrinter &printer, Progress *progress) {
    if (progress)
        progress->setTotal(int(pages.size()));
    const auto step = [progress](int drawn) {
        if (progress)
            progress->step(drawn);
    };
    const QString target = printer.outputFileName();
    if (target.isEmpty()) {
        paintReport(pages, printer, step);
        return;
    }
    ExportFile file(target);
    file.device().close();
    {
        // The printer keeps the clerk's choice of file for the next time the dialog opens.
        printer.setOutputFileName(file.partialPath());
        const auto restore = qScopeGuard([&] { printer.setOutputFileName(target); });
        try {
            paintReport(pages, printer, step);
        } catch (const std::runtime_error &failure) {
            file.fail(QString::fromUtf8(failure.what()));
        }
    }
    file.commit();
}

void writeSpreadsheet(const PreviewedReport &report, const QString &path, Progress *progress) {
    const ReportDefinition &definition = report.definition;
    // A report without a title of its own (the pay slips) is titled with its name; the file's
    // name adds the months, which its rows show.
    const QString name = report.documentName.section(QLatin1Char('_'), 0, 0);
    const SheetLayout layout{name, definition.title.isEmpty() ? name : definition.title,
                             definition.columns, definition.totalsRow};
    if (progress)
        progress->setTotal(report.rows.recordCount());
    exportSpreadsheet(path, layout, report.rows, progress);
}
