#include "reportpreview.h"

#include "data.h"
#include "layout.h"
#include "previewdialog.h"
#include "progress.h"

#include <optional>

void showReport(const ReportDefinition &report, const QString &documentName, QWidget *parent) {
    std::optional<PageModel> pages;
    try {
        Progress progress(parent, QStringLiteral("正在生成报表…"), DM->AQ1.recordCount());
        pages.emplace(layOut(report, DM->AQ1, &progress));
    } catch (const OperationCancelled &) {
        return;
    }
    PreviewDialog dialog({report, DM->AQ1, *pages, documentName}, parent);
    dialog.exec();
}
