#include "gridheader.h"

#include "textfit.h"

#include <QPainter>
#include <QStyleOptionHeader>

GridHeader::GridHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent) {}

// The style draws the section without its caption, which is then drawn here, fitted.
void GridHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const {
    if (!rect.isValid())
        return;
    QStyleOptionHeader option;
    initStyleOptionForIndex(&option, logicalIndex);
    option.rect = rect;
    painter->save();
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, &option, this);
    painter->setFont(font());
    painter->setPen(palette().color(QPalette::ButtonText));
    drawFittedText(*painter, rect.adjusted(margin, 0, -margin, 0), option.textAlignment,
                   option.text);
    painter->restore();
}
