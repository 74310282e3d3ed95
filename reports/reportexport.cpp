#include "reportexport.h"

#include "reportpainter.h"

#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <stdexcept>

const QList<ReportExport> &reportExports() {
    static const QList<ReportExport> exports = {
        {QStringLiteral("导出PDF"), QStringLiteral("pdf"), QStringLiteral("PDF (*.pdf)"), writePdf},
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
