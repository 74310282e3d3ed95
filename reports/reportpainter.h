#pragma once

#include "pagemodel.h"

#include <QPageLayout>

class QPagedPaintDevice;
class QPainter;

// The page set-up of every report: A4, landscape, all margins 0.
QPageLayout reportPageLayout();

// Draws one page with the painter, at the resolution of the painter's device.
void paintPage(const Page &page, QPainter &painter);

// Draws every page on a printer or PDF writer, one sheet per page, after giving the device
// the report page set-up. Throws std::runtime_error when the device cannot be drawn on.
void paintReport(const PageModel &pages, QPagedPaintDevice &device);
