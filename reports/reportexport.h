#pragma once

#include "pagemodel.h"

#include <QList>
#include <QString>
#include <functional>

// A way to save a previewed report as a file. The preview offers every one of them on its
// toolbar, so a new kind of file needs an entry here and nothing in the windows.
struct ReportExport {
    QString caption;    // the toolbar action
    QString fileSuffix; // of the suggested file name
    QString fileFilter; // for the file dialog
    std::function<void(const PageModel &pages, const QString &path)> write;
};

const QList<ReportExport> &reportExports();

// The pages as a PDF file, with their text as text. Throws std::runtime_error when the file
// cannot be written.
void writePdf(const PageModel &pages, const QString &path);
