#include "bevel.h"

#include <QPainter>

Bevel::Bevel(Shape shape, const QRect &geometry, QWidget *parent)
    : QWidget(parent), m_shape(shape) {
    setGeometry(geometry);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Bevel::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QRect area = rect().adjusted(0, 0, -2, -2);
    const QColor shadow(128, 128, 128);
    const QColor light(Qt::white);
    if (m_shape == Shape::TopLine) {
        painter.setPen(shadow);
        painter.drawLine(0, 0, width() - 1, 0);
        painter.setPen(light);
        painter.drawLine(0, 1, width() - 1, 1);
        return;
    }
    painter.setPen(light);
    painter.drawRect(area.translated(1, 1));
    painter.setPen(shadow);
    painter.drawRect(area);
}
