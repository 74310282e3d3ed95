#include "canvas.h"

#include <QLineF>
#include <QPainterPath>
#include <QPolygonF>
#include <QTransform>

Canvas::Canvas(int width, int height) : image(width, height, QImage::Format_ARGB32_Premultiplied) {
    image.fill(Qt::transparent);
    painter.begin(&image);
    painter.setRenderHint(QPainter::Antialiasing);
}

QImage Canvas::take() {
    painter.end();
    return image;
}

QPen outlinePen(qreal width, const QColor &color) {
    QPen pen(color, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void drawSheet(QPainter &painter, const QRectF &page, qreal fold) {
    const QPointF corner = page.topRight();
    QPainterPath outline;
    outline.moveTo(page.topLeft());
    outline.lineTo(corner - QPointF(fold, 0));
    outline.lineTo(corner + QPointF(0, fold));
    outline.lineTo(page.bottomRight());
    outline.lineTo(page.bottomLeft());
    outline.closeSubpath();

    QLinearGradient paper(page.topLeft(), page.bottomRight());
    paper.setColorAt(0, Palette::paper);
    paper.setColorAt(1, Palette::paperShade);
    painter.setPen(outlinePen());
    painter.setBrush(paper);
    painter.drawPath(outline);

    const QPolygonF flap{corner - QPointF(fold, 0), corner - QPointF(fold, -fold),
                         corner + QPointF(0, fold)};
    painter.setBrush(Palette::paperShade.darker(108));
    painter.drawPolygon(flap);
}

void drawTextLines(QPainter &painter, QPointF first, qreal length, qreal gap, int count) {
    painter.setPen(QPen(Palette::ink, 1.0, Qt::SolidLine, Qt::FlatCap));
    for (int i = 0; i < count; ++i) {
        const QPointF start = first + QPointF(0, gap * i);
        // A shorter last line makes the bars read as a paragraph rather than a grid.
        const qreal span = i == count - 1 && count > 1 ? length * 0.6 : length;
        painter.drawLine(start, start + QPointF(span, 0));
    }
}

void drawArrow(QPainter &painter, QPointF from, QPointF to, qreal width, qreal headLength,
               const QColor &color) {
    const QLineF line(from, to);
    const qreal length = line.length();
    // Drawn pointing along +x from the origin, then turned and moved into place.
    QPainterPath arrow;
    arrow.moveTo(0, -width / 2);
    arrow.lineTo(length - headLength, -width / 2);
    arrow.lineTo(length - headLength, -headLength * 0.75);
    arrow.lineTo(length, 0);
    arrow.lineTo(length - headLength, headLength * 0.75);
    arrow.lineTo(length - headLength, width / 2);
    arrow.lineTo(0, width / 2);
    arrow.closeSubpath();

    QTransform place;
    place.translate(from.x(), from.y());
    place.rotate(-line.angle());
    painter.setPen(outlinePen(0.8, color.darker(140)));
    painter.setBrush(color);
    painter.drawPath(place.map(arrow));
}
