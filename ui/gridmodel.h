#pragma once

#include "gridcolumn.h"

#include <QAbstractTableModel>
#include <QList>

class DataSource;

// A grid's own view of a data source: only the columns the window declared, in its order,
// with its titles and alignments. Columns are found by field name whenever the result changes.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    GridModel(DataSource &source, QObject *parent);

    DataSource &source() const { return m_source; }
    void setColumns(QList<GridColumn> columns);
    const QList<GridColumn> &columns() const { return m_columns; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void mapColumns();

    DataSource &m_source;
    QList<GridColumn> m_columns;
    QList<int> m_sourceColumn; // -1 where the result has no such field
    int m_currentRow = -1;
};
