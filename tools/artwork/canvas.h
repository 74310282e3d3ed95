#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRectF>

// What every icon shares: one small palette, so the icons read as a family, and the few
// shapes that recur at different sizes.
namespace Palette {
inline const QColor outline{0x3e, 0x4c, 0x5e};
inline const QColor paper{0xfd, 0xfd, 0xfb};
inline const QColor paperShade{0xe6, 0xea, 0xef};
inline const QColor ink{0x9a, 0xa6, 0xb4};
inline const QColor blue{0x36, 0x78, 0xc8};
inline const QColor lightBlue{0xcf, 0xe2, 0xf6};
inline const QColor green{0x34, 0x9a, 0x4a};
inline const QColor orange{0xe5, 0x8e, 0x26};
inline const QColor red{0xd4, 0x3f, 0x33};
} // namespace Palette

// A transparent image of the given size and a painter on it that smooths edges.
struct Canvas {
    explicit Canvas(int width, int height);
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;

    QImage take();

    QImage image;
    QPainter painter;
};

QPen outlinePen(qreal width = 1.0, const QColor &color = Palette::outline);

// A page with its top-right corner folded over; `fold` is the size of the corner.
void drawSheet(QPainter &painter, const QRectF &page, qreal fold);

// Grey bars standing for lines of writing, `gap` apart, starting at `first`.
void drawTextLines(QPainter &painter, QPointF first, qreal length, qreal gap, int count);

// A solid arrow from `from` to `to`, shaft of `width`, head `headLength` long.
void drawArrow(QPainter &painter, QPointF from, QPointF to, qreal width, qreal headLength,
               const QColor &color);
