#pragma once

#include "reportdefinition.h"

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

// A report laid out over its rows: pages of outlined boxes and placed texts, in layout units
// of 1/96 inch from the top left corner of an A4 landscape page. It knows nothing of the
// device it will be drawn on.

inline constexpr QSize reportPageSize(1123, 794);

struct PageText {
    QRect box;
    QString text;
    TextStyle style;
    Qt::Alignment alignment;
};

struct Page {
    QList<QRect> rectangles;
    QList<PageText> texts;
};

using PageModel = QList<Page>;
