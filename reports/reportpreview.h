#pragma once

#include <QString>

class QWidget;
struct ReportDefinition;

// Lays the report out over the rows AQ1 holds and previews it in a modal window; returns when
// the operator closes the preview, or cancels while the report is being laid out.
void showReport(const ReportDefinition &report, const QString &documentName, QWidget *parent);
