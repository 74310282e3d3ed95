#pragma once

#include "pagemodel.h"

#include <QString>

class QWidget;
struct ReportDefinition;

// Lays the report out over the rows AQ1 holds and previews it.
void showReport(const ReportDefinition &report, const QString &documentName, QWidget *parent);
