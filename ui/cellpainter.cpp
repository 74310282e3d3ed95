#include "cellpainter.h"

#include "datasource.h"
#include "dbgrid.h"
#include "guard.h"

#include <QPainter>

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

    const bool onHighlight = highlighted && background == normal;
    painter->setPen(option.palette.color(onHighlight ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(option.font);
    const auto alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
    painter->drawText(option.rect.adjusted(2, 0, -2, 0), int(alignment), index.data().toString());
}
