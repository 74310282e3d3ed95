#pragma once

#include "pagemodel.h"

#include <QString>

class QWidget;
struct ReportDefinition;

// Shows the pages in a modal print preview, from which the operator pages through them,
// prints them or saves them as a file named after `documentName`. Returns when the preview
// is closed.
void previewReport(const PageModel &pages, const QString &documentName, QWidget *parent);

// Lays the report out over the rows AQ1 holds and previews it.
void showReport(const ReportDefinition &report, const QString &documentName, QWidget *parent);
