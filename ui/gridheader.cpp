#include "gridheader.h"

#include "textfit.h"

#include <QPainter>
#include <QStyleOptionHeader>

GridHeader::GridHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent) {}

// The style draws the section without its caption, which is then drawn here, fitted.
void GridHeader::initStyleOptionForIndex(QStyleOptionHeader *option, int logicalIndex) const {
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    option->text.clear();
}

void GridHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const {
    QHeaderView::paintSection(painter, rect, logicalIndex);
    if (!rect.isValid())
        return;
    QStyleOptionHeader option;
    initStyleOption(&option);
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, &option, this);
    const QString caption = model()->headerData(logicalIndex, orientation()).toString();
    const auto alignment = Qt::Alignment(
        model()->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole).toInt());
    painter->save();
    painter->setFont(font());
    painter->setPen(palette().color(QPalette::ButtonText));
    drawFittedText(*painter, rect.adjusted(margin, 0, -margin, 0),
                   alignment ? alignment : defaultAlignment(), caption);
    painter->restore();
}
