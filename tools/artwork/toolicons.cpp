#include "toolicons.h"

#include "canvas.h"

#include <QPainterPath>
#include <QtMath>
#include <cmath>

namespace {

const QColor yellowPaper(0xfb, 0xe9, 0x8a);

// A sheet in the tool row's size, with a few lines of writing on it.
void drawWrittenSheet(QPainter &painter, const QRectF &page, int lines) {
    drawSheet(painter, page, 6);
    drawTextLines(painter, page.topLeft() + QPointF(3.5, 9), page.width() - 8, 3.5, lines);
}

// An arrow bent round `centre`, from `startAngle` degrees anticlockwise through `span`.
void drawCurvedArrow(QPainter &painter, QPointF centre, qreal radius, qreal startAngle, qreal span,
                     const QColor &colour) {
    const QRectF circle(centre.x() - radius, centre.y() - radius, radius * 2, radius * 2);
    QPainterPath arc;
    arc.arcMoveTo(circle, startAngle);
    arc.arcTo(circle, startAngle, span);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour.darker(140), 5.2, Qt::SolidLine, Qt::FlatCap));
    painter.drawPath(arc);
    painter.setPen(QPen(colour, 3.4, Qt::SolidLine, Qt::FlatCap));
    painter.drawPath(arc);

    // The head points along the circle where the arc ends.
    QPainterPath end;
    end.arcMoveTo(circle, startAngle + span);
    const QPointF tip = end.currentPosition();
    const qreal angle = qDegreesToRadians(startAngle + span);
    const QPointF along(std::sin(angle), std::cos(angle)); // direction of travel, y down
    const QPointF across(along.y(), -along.x());
    const QPolygonF head{tip + along * 5, tip + across * 5, tip - across * 5};
    painter.setPen(outlinePen(0.8, colour.darker(140)));
    painter.setBrush(colour);
    painter.drawPolygon(head);
}

} // namespace

QImage paintAddIcon() {
    Canvas canvas(32, 32);
    QPainterPath plus;
    plus.setFillRule(Qt::WindingFill);
    plus.addRect(12, 4, 8, 24);
    plus.addRect(4, 12, 24, 8);
    QLinearGradient fill(0, 4, 0, 28);
    fill.setColorAt(0, Palette::green.lighter(135));
    fill.setColorAt(1, Palette::green);
    canvas.painter.setPen(outlinePen(1.0, Palette::green.darker(150)));
    canvas.painter.setBrush(fill);
    canvas.painter.drawPath(plus.simplified());
    return canvas.take();
}

QImage paintModifyIcon() {
    Canvas canvas(32, 32);
    QPainter &painter = canvas.painter;
    const QRectF page(5.5, 2.5, 21, 27);
    drawSheet(painter, page, 6);
    painter.setPen(Qt::NoPen);
    painter.setBrush(yellowPaper);
    painter.drawRect(page.adjusted(1, 7, -1, -1));
    drawTextLines(painter, QPointF(9, 11.5), 14, 3.5, 5);
    return canvas.take();
}

QImage paintToggleIcon() {
    Canvas canvas(32, 32);
    drawCurvedArrow(canvas.painter, QPointF(16, 16), 10, 20, 140, Palette::green);
    drawCurvedArrow(canvas.painter, QPointF(16, 16), 10, 200, 140, Palette::green);
    return canvas.take();
}

QImage paintSaveIcon() {
    Canvas canvas(32, 32);
    QPainter &painter = canvas.painter;
    QPainterPath disk;
    disk.moveTo(4.5, 4.5);
    disk.lineTo(24, 4.5);
    disk.lineTo(27.5, 8);
    disk.lineTo(27.5, 27.5);
    disk.lineTo(4.5, 27.5);
    disk.closeSubpath();
    painter.setPen(outlinePen());
    painter.setBrush(Palette::blue);
    painter.drawPath(disk);
    painter.setBrush(Palette::paper);
    painter.drawRect(QRectF(8.5, 4.5, 14, 9));
    painter.setBrush(Palette::outline);
    painter.drawRect(QRectF(17.5, 6, 3, 6));
    painter.setBrush(Palette::paperShade);
    painter.drawRect(QRectF(8.5, 17.5, 15, 10));
    return canvas.take();
}

QImage paintCancelIcon() {
    Canvas canvas(32, 32);
    drawCurvedArrow(canvas.painter, QPointF(16, 19), 10, -20, 190, Palette::orange);
    return canvas.take();
}

QImage paintPrepareIcon() {
    Canvas canvas(32, 32);
    QPainter &painter = canvas.painter;
    drawWrittenSheet(painter, QRectF(3.5, 2.5, 19, 26), 4);
    // A pencil across the sheet's corner, writing.
    painter.save();
    painter.translate(15, 27);
    painter.rotate(-50);
    painter.setPen(outlinePen(0.9));
    painter.setBrush(Palette::orange);
    painter.drawRect(QRectF(5, -2.5, 15, 5));
    painter.setBrush(Palette::paper);
    painter.drawPolygon(QPolygonF{QPointF(0, 0), QPointF(5, -2.5), QPointF(5, 2.5)});
    painter.setBrush(Palette::red);
    painter.drawRect(QRectF(20, -2.5, 3, 5));
    painter.restore();
    return canvas.take();
}

QImage paintRemoveIcon() {
    Canvas canvas(32, 32);
    QPainter &painter = canvas.painter;
    drawWrittenSheet(painter, QRectF(3.5, 2.5, 19, 26), 4);
    painter.setPen(QPen(Palette::red, 4.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(16, 16), QPointF(27, 27));
    painter.drawLine(QPointF(27, 16), QPointF(16, 27));
    return canvas.take();
}

QImage paintNextIcon() {
    Canvas canvas(32, 32);
    drawArrow(canvas.painter, QPointF(4, 16), QPointF(28, 16), 8, 11, Palette::blue);
    return canvas.take();
}

QImage paintPreviousIcon() {
    Canvas canvas(32, 32);
    drawArrow(canvas.painter, QPointF(28, 16), QPointF(4, 16), 8, 11, Palette::blue);
    return canvas.take();
}

QImage paintPrinterIcon() {
    Canvas canvas(32, 32);
    QPainter &painter = canvas.painter;
    painter.setPen(outlinePen());
    painter.setBrush(Palette::paper);
    painter.drawRect(QRectF(9.5, 3.5, 13, 10)); // the sheet waiting in the feeder
    QLinearGradient body(0, 12, 0, 24);
    body.setColorAt(0, QColor(0xb8, 0xc0, 0xca));
    body.setColorAt(1, QColor(0x7d, 0x88, 0x96));
    painter.setBrush(body);
    painter.drawRoundedRect(QRectF(3.5, 12.5, 25, 11), 2, 2);
    painter.setBrush(Palette::green);
    painter.drawEllipse(QPointF(24, 16), 1.3, 1.3);
    painter.setBrush(Palette::paper);
    painter.drawRect(QRectF(8.5, 19.5, 15, 9)); // the printed sheet
    drawTextLines(painter, QPointF(10.5, 23), 11, 2.5, 2);
    return canvas.take();
}
