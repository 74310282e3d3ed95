#pragma once

#include "gridcolumn.h"

#include <QTableView>
#include <functional>

class DataSource;
class GridModel;

// A read-only grid over a shared query's data source. Its current row and the query's
// current row follow each other: moving the query moves the grid, and choosing a row in the
// grid moves the query (raising its after-scroll notification like any other move), unless
// the click left an input box that refuses to be left.
class DBGrid : public QTableView {
    Q_OBJECT
public:
    struct Options {
        bool titles = true;
        bool indicator = true;
        bool lines = true;
        bool rowLines = true; // with lines: between rows as well as between columns
        bool rowSelect = false;
    };

    // Called for every data cell before it is painted, the highlighted row included; the
    // handler may change the background, which then applies to that cell.
    using CellParams = std::function<void(const PaintedRow &row, const QString &field,
                                          QColor &background, bool highlighted)>;
    using TitleClick = std::function<void(const GridColumn &column)>;

    DBGrid(DataSource &source, QWidget *parent);

    void setColumns(QList<GridColumn> columns);
    void setOptions(const Options &options);

    TitleClick OnTitleClick;
    CellParams OnGetCellParams;

    const QList<GridColumn> &columns() const;
    DataSource &dataSource() const;
    // Lines between the columns only, which the cells draw themselves.
    bool columnLinesOnly() const { return m_columnLinesOnly; }

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    bool viewportEvent(QEvent *event) override;

private:
    void followQuery(int row);

    GridModel *m_model;
    bool m_following = false;
    bool m_columnLinesOnly = false;
};
