#pragma once

#include "amountcolumnlist.h"
#include "reportdefinition.h"

// The reports of the reporting windows, each with one cell per amount column in every row.

// One two-row slip per row: captions above, values below, 17 empty units above each slip.
ReportDefinition paySlipReport(const QList<AmountColumn> &columns);

// The query result under the title "数 据 查 询 结 果", with a totals row.
ReportDefinition queryReport(const QList<AmountColumn> &columns);

// Totals per month and per employee, with a totals row; the window sets the title.
ReportDefinition monthStatisticsReport(const QList<AmountColumn> &columns);
ReportDefinition employeeStatisticsReport(const QList<AmountColumn> &columns);
