#pragma once

#include <QStyledItemDelegate>

class DBGrid;

// Paints a grid's data cells itself, so that a background the window chooses for a cell
// shows on the highlighted row too instead of disappearing under the selection colour, and so
// that a text too wide for its cell is drawn narrower instead of cut.
class CellPainter : public QStyledItemDelegate {
public:
    explicit CellPainter(DBGrid &grid);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

private:
    DBGrid &m_grid;
};
