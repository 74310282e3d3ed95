#include "panel.h"

#include <QPainter>
#include <qdrawutil.h>

Panel::Panel(Border border, const QRect &geometry, QWidget *parent)
    : QWidget(parent), m_border(border) {
    setGeometry(geometry);
}

void Panel::paintEvent(QPaintEvent *) {
    if (m_border == Border::None)
        return;
    QPainter painter(this);
    const QRect outer = rect();
    qDrawShadeRect(&painter, outer, palette(), true, 1);
    qDrawShadeRect(&painter, outer.adjusted(1, 1, -1, -1), palette(), false, 1);
}
