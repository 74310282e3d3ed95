#include "largeicons.h"

#include "canvas.h"

#include <QPainterPath>
#include <QPolygonF>

namespace {

void drawEnvelope(QPainter &painter, const QRectF &body) {
    QLinearGradient paper(body.topLeft(), body.bottomLeft());
    paper.setColorAt(0, Palette::paper);
    paper.setColorAt(1, Palette::paperShade);
    painter.setPen(outlinePen());
    painter.setBrush(paper);
    painter.drawRoundedRect(body, 1.5, 1.5);

    const QPointF middle(body.center().x(), body.top() + body.height() * 0.58);
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(
        QPolygonF{body.topLeft() + QPointF(1, 1), middle, body.topRight() + QPointF(-1, 1)});
    painter.setPen(outlinePen(1.0, Palette::ink));
    painter.drawLine(body.bottomLeft() + QPointF(1.5, -1.5), middle + QPointF(-3, 2.5));
    painter.drawLine(body.bottomRight() + QPointF(-1.5, -1.5), middle + QPointF(3, 2.5));
}

// A fountain-pen nib pointing down-left, its tip at `tip`.
void drawNib(QPainter &painter, QPointF tip) {
    painter.save();
    painter.translate(tip);
    painter.rotate(-45);
    painter.scale(1.15, 1.15);

    QPainterPath nib;
    nib.moveTo(0, 0);
    nib.cubicTo(4, -4.5, 8, -5, 11, -4);
    nib.lineTo(11, 4);
    nib.cubicTo(8, 5, 4, 4.5, 0, 0);
    QLinearGradient metal(0, -5, 0, 5);
    metal.setColorAt(0, QColor(0xf6, 0xc9, 0x5a));
    metal.setColorAt(1, QColor(0xc9, 0x86, 0x1c));
    painter.setPen(outlinePen(1.0));
    painter.setBrush(metal);
    painter.drawPath(nib);

    painter.setPen(outlinePen(0.9));
    painter.drawLine(QPointF(1.5, 0), QPointF(6, 0));
    painter.setBrush(Palette::outline);
    painter.drawEllipse(QPointF(6.5, 0), 1.1, 1.1);

    painter.setBrush(Palette::blue.darker(130));
    painter.setPen(outlinePen(1.0));
    painter.drawRoundedRect(QRectF(11, -4.5, 7, 9), 1.2, 1.2);
    painter.restore();
}

void drawLens(QPainter &painter, QPointF centre, qreal radius) {
    QRadialGradient glass(centre - QPointF(radius * 0.4, radius * 0.4), radius * 1.6);
    glass.setColorAt(0, QColor(0xf4, 0xfa, 0xff));
    glass.setColorAt(1, Palette::lightBlue);
    painter.setPen(QPen(Palette::outline, 3.0));
    painter.setBrush(glass);
    painter.drawEllipse(centre, radius, radius);

    painter.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    const QRectF glint(centre.x() - radius * 0.6, centre.y() - radius * 0.6, radius * 1.2,
                       radius * 1.2);
    painter.drawArc(glint, 100 * 16, 70 * 16);
}

} // namespace

QImage paintEntryIcon() {
    Canvas canvas(32, 32);
    drawEnvelope(canvas.painter, QRectF(1.5, 3.5, 23, 17));
    drawNib(canvas.painter, QPointF(12.5, 28.5));
    return canvas.take();
}

QImage paintQueryIcon() {
    Canvas canvas(32, 32);
    QPainter &painter = canvas.painter;
    QPen handle(Palette::outline, 5.0, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(handle);
    painter.drawLine(QPointF(19.5, 19.5), QPointF(27, 27));
    handle.setColor(Palette::orange.darker(115));
    handle.setWidthF(2.6);
    painter.setPen(handle);
    painter.drawLine(QPointF(21.5, 21.5), QPointF(26.8, 26.8));
    drawLens(painter, QPointF(13, 13), 9);
    return canvas.take();
}

QImage paintPayslipIcon() {
    Canvas canvas(32, 32);
    QPainter &painter = canvas.painter;
    const QRectF page(5.5, 2.5, 21, 27);
    drawSheet(painter, page, 6);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::blue);
    painter.drawRect(QRectF(8, 6, 10, 3));
    drawTextLines(painter, QPointF(8, 12.5), 15, 3, 3);

    // The bottom line is the amount paid, set apart in green the way a slip totals up.
    painter.setPen(QPen(Palette::outline, 1.0));
    painter.drawLine(QPointF(8, 22.5), QPointF(24, 22.5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::green);
    painter.drawRect(QRectF(16, 24, 8, 3));
    return canvas.take();
}
