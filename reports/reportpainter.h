#pragma once

#include "pagemodel.h"

#include <QPageLayout>
#include <functional>

class QPagedPaintDevice;
class QPainter;

// The page set-up of every report: A4, landscape, all margins 0.
QPageLayout reportPageLayout();

// Draws one page with the painter, at the resolution of the painter's device.
void paintPage(const Page &page, QPainter &painter);

// Draws every page on a printer or PDF writer, one sheet per page, after giving the device
// the report page set-up. Pages are made and drawn one at a time, so that memory stays small
// whatever the length of the report; `afterPage` hears how many are drawn and may stop the
// run by throwing, which aborts a printer's job. Throws std::runtime_error when the device
// cannot be drawn on.
void paintReport(const PageModel &pages, QPagedPaintDevice &device,
                 const std::function<void(int drawn)> &afterPage = {});
