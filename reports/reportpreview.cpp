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

void addExportActions(QPrintPreviewDialog &dialog, const PageModel &pages,
                      const QString &documentName) {
    QToolBar *toolBar = dialog.findChild<QToolBar *>();
    if (!toolBar)
        return;
    toolBar->addSeparator();
    for (const ReportExport &format : reportExports()) {
        QAction *action = toolBar->addAction(format.caption);
        action->setObjectName(format.caption);
        QObject::connect(
            action, &QAction::triggered, &dialog, [&dialog, &pages, documentName, format] {
                guarded([&] {
                    const QString path = QFileDialog::getSaveFileName(
                        &dialog, format.caption,
                        documentName + QLatin1Char('.') + format.fileSuffix, format.fileFilter);
                    if (!path.isEmpty())
                        format.write(pages, path);
                });
            });
    }
}

} // namespace

void previewReport(const PageModel &pages, const QString &documentName, QWidget *parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true); // the report's own margins are 0
    printer.setPageLayout(reportPageLayout());
    printer.setDocName(documentName);

    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(documentName);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&pages](QPrinter *device) { guarded([&] { paintReport(pages, *device); }); });
    addExportActions(dialog, pages, documentName);
    dialog.exec();
}

void showReport(const ReportDefinition &report, const QString &documentName, QWidget *parent) {
    previewReport(layOut(report, DM->AQ1), documentName, parent);
}
