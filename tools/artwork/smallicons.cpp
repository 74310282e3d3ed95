#include "smallicons.h"

#include "canvas.h"

#include <QLineF>
#include <QPolygonF>

namespace {

void drawGrid(QPainter &painter, const QRectF &table, int rows, int columns) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(Palette::paper);
    painter.drawRect(table);
    painter.setBrush(Palette::lightBlue);
    painter.drawRect(QRectF(table.topLeft(), QSizeF(table.width(), table.height() / rows)));

    painter.setPen(QPen(Palette::ink, 1.0));
    for (int row = 1; row < rows; ++row) {
        const qreal y = table.top() + table.height() * row / rows;
        painter.drawLine(QPointF(table.left(), y), QPointF(table.right(), y));
    }
    for (int column = 1; column < columns; ++column) {
        const qreal x = table.left() + table.width() * column / columns;
        painter.drawLine(QPointF(x, table.top()), QPointF(x, table.bottom()));
    }
    painter.setPen(outlinePen());
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(table);
}

void drawCheckBox(QPainter &painter, const QRectF &box, bool checked) {
    painter.setPen(outlinePen());
    painter.setBrush(Palette::paper);
    painter.drawRoundedRect(box, 1, 1);
    if (!checked)
        return;
    painter.setPen(outlinePen(1.8, Palette::green));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygonF{box.topLeft() + QPointF(1.2, box.height() * 0.5),
                                   box.topLeft() + QPointF(box.width() * 0.42, box.height() - 1.2),
                                   box.topRight() + QPointF(0.8, -1.2)});
}

// A pencil lying from its tip to the end of its eraser, `width` across.
void drawPencil(QPainter &painter, QPointF tip, QPointF end, qreal width) {
    const QLineF line(tip, end);
    const qreal length = line.length();
    const qreal half = width / 2;
    const qreal point = width * 1.4;
    const qreal eraser = width * 1.1;

    painter.save();
    painter.translate(tip);
    painter.rotate(-line.angle());
    painter.setPen(outlinePen(0.8));

    painter.setBrush(QColor(0xf2, 0xd2, 0xa0));
    painter.drawPolygon(QPolygonF{{0, 0}, {point, -half}, {point, half}});
    painter.setBrush(Palette::outline);
    painter.drawPolygon(
        QPolygonF{{0, 0}, {point * 0.35, -half * 0.35}, {point * 0.35, half * 0.35}});

    painter.setBrush(Palette::orange);
    painter.drawRect(QRectF(point, -half, length - point - eraser, width));
    painter.setBrush(QColor(0xe8, 0x8f, 0x9a));
    painter.drawRect(QRectF(length - eraser, -half, eraser, width));
    painter.restore();
}

} // namespace

QImage paintCloseIcon() {
    Canvas canvas(18, 17);
    QPainter &painter = canvas.painter;
    const QRectF button(0.5, 0.5, 17, 16);
    QLinearGradient fill(button.topLeft(), button.bottomLeft());
    fill.setColorAt(0, Palette::red.lighter(125));
    fill.setColorAt(1, Palette::red.darker(110));
    painter.setPen(outlinePen(1.0, Palette::red.darker(150)));
    painter.setBrush(fill);
    painter.drawRoundedRect(button, 2.5, 2.5);

    painter.setPen(outlinePen(2.0, Qt::white));
    painter.drawLine(QPointF(5.5, 5), QPointF(12.5, 12));
    painter.drawLine(QPointF(12.5, 5), QPointF(5.5, 12));
    return canvas.take();
}

QImage paintStatisticsIcon() {
    Canvas canvas(24, 24);
    drawGrid(canvas.painter, QRectF(1.5, 2.5, 15, 15), 3, 3);
    drawArrow(canvas.painter, QPointF(11, 21.5), QPointF(22.5, 21.5), 3, 5, Palette::green);
    return canvas.take();
}

QImage paintDepartmentsIcon() {
    Canvas canvas(24, 24);
    QPainter &painter = canvas.painter;
    painter.setPen(outlinePen());

    painter.setBrush(Palette::blue);
    painter.drawRect(QRectF(1.5, 1.5, 9, 9));
    painter.setBrush(Palette::orange);
    painter.drawEllipse(QPointF(17.5, 6), 4.8, 4.8);
    painter.setBrush(Palette::green);
    painter.drawPolygon(QPolygonF{{6, 13}, {11, 22}, {1, 22}});

    drawArrow(painter, QPointF(13, 17.5), QPointF(23, 17.5), 3, 5, Palette::red);
    return canvas.take();
}

QImage paintEmployeesIcon() {
    Canvas canvas(24, 24);
    drawSheet(canvas.painter, QRectF(2.5, 1.5, 15, 20), 5);
    drawTextLines(canvas.painter, QPointF(5, 8.5), 9, 3, 3);
    drawPencil(canvas.painter, QPointF(10, 20), QPointF(22.5, 7.5), 4);
    return canvas.take();
}

QImage paintItemsIcon() {
    Canvas canvas(24, 24);
    QPainter &painter = canvas.painter;
    const bool ticked[] = {true, true, false};
    for (int row = 0; row < 3; ++row) {
        const qreal top = 1.5 + row * 8;
        drawCheckBox(painter, QRectF(2.5, top, 5, 5), ticked[row]);
        painter.setPen(QPen(Palette::outline, 2.0, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(11, top + 2.5), QPointF(21.5, top + 2.5));
    }
    return canvas.take();
}
