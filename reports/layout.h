#pragma once

#include "pagemodel.h"

class Progress;
class Query;

// Lays a report out over the rows a query holds (a closed query holds none): the title band,
// one detail band per row, the summary band. A band that does not fit under the bands before
// it starts a new page; no band is ever split. Steps `progress` over the rows, when given.
PageModel layOut(const ReportDefinition &report, const Query &rows, Progress *progress = nullptr);
