#include "reportpreview.h"

#include "data.h"
#include "guard.h"
#include "layout.h"
#include "reportexport.h"
#include "reportpainter.h"

#include <QFileDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>

namespace {

void addExportActions(QPrintPreviewDialog &dialog, const PreviewedReport &report) {
    QToolBar *toolBar = dialog.findChild<QToolBar *>();
    if (!toolBar)
        return;
    toolBar->addSeparator();
    for (const ReportExport &format : reportExports()) {
        QAction *action = toolBar->addAction(format.caption);
        action->setObjectName(format.caption);
        QObject::connect(action, &QAction::triggered, &dialog, [&dialog, &report, format] {
            guarded([&] {
                const QString path = QFileDialog::getSaveFileName(
                    &dialog, format.caption,
                    report.documentName + QLatin1Char('.') + format.fileSuffix, format.fileFilter);
                if (!path.isEmpty())
                    format.write(report, path);
            });
        });
    }
}

// Shows the pages in a modal print preview, from which the operator pages through them,
// prints them or saves them as a file named after the document. Returns when the preview is
// closed.
void previewReport(const PreviewedReport &report, QWidget *parent) {
    const PageModel &pages = report.pages;
    const QString &documentName = report.documentName;
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true); // the report's own margins are 0
    printer.setPageLayout(reportPageLayout());
    printer.setDocName(documentName);

    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(documentName);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&pages](QPrinter *device) { guarded([&] { paintReport(pages, *device); }); });
    addExportActions(dialog, report);
    dialog.exec();
}

} // namespace

void showReport(const ReportDefinition &report, const QString &documentName, QWidget *parent) {
    const PageModel pages = layOut(report, DM->AQ1);
    previewReport({report, DM->AQ1, pages, documentName}, parent);
}
