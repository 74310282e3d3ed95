#pragma once

#include "pagemodel.h"

#include <QList>
#include <QString>
#include <functional>

class Progress;
class QPrinter;
class Query;
struct ReportDefinition;

// A report as the preview shows it: its definition, the rows it was laid out over (still
// held by their query while the preview is open), its pages and its document name, which
// names the files it is saved as ("工资条_202611").
struct PreviewedReport {
    const ReportDefinition &definition;
    const Query &rows;
    const PageModel &pages;
    QString documentName;
};

// A way to save a previewed report as a file. The preview offers every one of them on its
// toolbar, so a new kind of file needs an entry here and nothing in the windows.
struct ReportExport {
    QString caption;    // the toolbar action
    QString fileSuffix; // of the suggested file name
    QString fileFilter; // for the file dialog
    std::function<void(const PreviewedReport &report, const QString &path, Progress *progress)>
        write;
};

const QList<ReportExport> &reportExports();

// The pages as a PDF file, with their text as text, stepping `progress` over the pages when
// given. The file appears under its name only when complete: a failure or a cancellation
// leaves whatever was there before; a failure throws ExportError.
void writePdf(const PageModel &pages, const QString &path, Progress *progress = nullptr);

// The pages on `printer`, as its print dialog set it up, stepping `progress` over the pages
// when given. A printer whose output is a file writes it as writePdf does: under its name
// only when complete, nothing left of it on a failure (ExportError) or a cancellation.
void printPages(const PageModel &pages, QPrinter &printer, Progress *progress = nullptr);

// The report's rows as a spreadsheet: its title (the document name for a report without
// one), the captions of its columns, one row per result row and, where the report totals
// them, the totals. Throws ExportError when the file cannot be written.
void writeSpreadsheet(const PreviewedReport &report, const QString &path,
                      Progress *progress = nullptr);
