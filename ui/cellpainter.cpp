#include "cellpainter.h"

#include "datasource.h"
#include "dbgrid.h"
#include "guard.h"

#include "textfit.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace {

// The text keeps two pixels from the cell's side lines.
QRectF textBox(const QRect &cell) {
    return cell.adjusted(2, 0, -2, 0);
}

} // namespace

CellPainter::CellPainter(DBGrid &grid) : QStyledItemDelegate(&grid), m_grid(grid) {}

void CellPainter::paint(QPainter *painter, const QStyleOptionViewItem &option,
                        const QModelIndex &index) const {
    const bool highlighted = option.state.testFlag(QStyle::State_Selected);
    const QColor normal = option.palette.color(highlighted ? QPalette::Highlight : QPalette::Base);
    QColor background = normal;
    if (m_grid.OnGetCellParams) {
        const PaintedRow row(m_grid.dataSource().query(), index.row());
        const QString field = m_grid.columns().at(index.column()).field;
        guarded([&] { m_grid.OnGetCellParams(row, field, background, highlighted); });
    }
    painter->fillRect(option.rect, background);
    if (m_grid.columnLinesOnly()) {
        const auto line =
            QRgb(m_grid.style()->styleHint(QStyle::SH_Table_GridLineColor, &option, &m_grid));
        painter->setPen(QColor(line));
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
    }

    const bool onHighlight = highlighted && background == normal;
    painter->setPen(option.palette.color(onHighlight ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    const auto alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
    drawFittedText(*painter, textBox(option.rect), alignment, index.data().toString());
}

// A figure drawn narrower, or replaced by the overflow mark, is read whole in the tip.
bool CellPainter::helpEvent(QHelpEvent *event, QAbstractItemView *view,
                            const QStyleOptionViewItem &option, const QModelIndex &index) {
    if (event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString text = index.data().toString();
    const QFontMetricsF metrics(option.font, view->viewport());
    if (metrics.horizontalAdvance(text) > textBox(option.rect).width())
        QToolTip::showText(event->globalPos(), text, view->viewport(), option.rect);
    else
        QToolTip::hideText();
    return true;
}
