#include "gridmodel.h"

#include "datasource.h"
#include "query.h"

GridModel::GridModel(DataSource &source, QObject *parent)
    : QAbstractTableModel(parent), m_source(source) {
    connect(&source, &QAbstractItemModel::modelReset, this, [this] {
        beginResetModel();
        mapColumns();
        endResetModel();
    });
    connect(&source, &DataSource::currentRowChanged, this, [this](int row) {
        const int previous = std::exchange(m_currentRow, row);
        for (const int changed : {previous, row})
            if (changed >= 0 && changed < rowCount())
                emit headerDataChanged(Qt::Vertical, changed, changed);
    });
}

void GridModel::setColumns(QList<GridColumn> columns) {
    beginResetModel();
    m_columns = std::move(columns);
    mapColumns();
    endResetModel();
}

void GridModel::mapColumns() {
    const Query &query = m_source.query();
    m_sourceColumn.clear();
    m_currentRow = query.isOpen() ? query.currentRow() : -1;
    for (const GridColumn &column : m_columns) {
        int found = -1;
        for (int i = 0; i < query.columnCount() && found < 0; ++i)
            if (query.columnName(i).compare(column.field, Qt::CaseInsensitive) == 0)
                found = i;
        m_sourceColumn << found;
    }
}

int GridModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_source.rowCount();
}

int GridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant GridModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_columns.at(index.column()).alignment | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const int column = m_sourceColumn.at(index.column());
    return column < 0 ? QString() : m_source.displayText(index.row(), column);
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section < m_columns.size() ? m_columns.at(section).title : QString();
    // The row indicator marks the query's current row.
    return section == m_currentRow ? QStringLiteral("▶") : QString();
}
