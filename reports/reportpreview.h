#pragma once

#include <QString>

class QWidget;
struct ReportDefinition;

// Lays the report out over the rows AQ1 holds and previews it in a modal window; returns when
// the operator closes the preview, or cancels while the report is being laid out.
void showReport(const ReportDefinition &report, const QString &documentName, QWidget *parent);

// "2026年1月至2026年11月": how the names of reports over a range of months give the range.
QString monthRangeName(int fromYear, int fromMonth, int toYear, int toMonth);
