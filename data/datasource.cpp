#include "datasource.h"

#include "query.h"

DataSource::DataSource(Query &query, QObject *parent)
    : QAbstractTableModel(parent), m_query(query) {
    connect(&query, &Query::resultChanged, this, [this] {
        beginResetModel();
        endResetModel();
    });
    connect(&query, &Query::currentRowChanged, this, &DataSource::currentRowChanged);
}

int DataSource::rowCount(const QModelIndex &parent) const {
    return parent.isValid() || !m_query.isOpen() ? 0 : m_query.recordCount();
}

int DataSource::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_query.columnCount();
}

QString DataSource::displayText(int row, int column) const {
    const Field field = m_query.cell(row, column);
    if (field.isAmount() && !field.isNull())
        return field.asCurrency().toFixed2();
    return field.asString();
}

QVariant DataSource::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return displayText(index.row(), index.column());
}
