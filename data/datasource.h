#pragma once

#include <QAbstractTableModel>

class Query;

// The rows of a shared query as a read-only table for grids: one column per result column,
// empty while the query is closed. It follows the query's opening, closing and moves.
class DataSource : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DataSource(Query &query, QObject *parent = nullptr);

    Query &query() const { return m_query; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // The text a grid shows for a cell: amounts with two decimals, everything else as read.
    QString displayText(int row, int column) const;

signals:
    void currentRowChanged(int row);

private:
    Query &m_query;
};
