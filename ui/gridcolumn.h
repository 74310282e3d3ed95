#pragma once

#include <QString>
#include <Qt>

class Query;

// One column a window puts in a grid: the result field it shows, its title and width.
struct GridColumn {
    QString field;
    QString title;
    int width = 64;
    Qt::Alignment alignment = Qt::AlignLeft;
};

// The row a grid is painting, readable by name without moving the query.
class PaintedRow {
public:
    PaintedRow(const Query &query, int row) : m_query(query), m_row(row) {}
    int row() const { return m_row; }
    QString text(const QString &field) const;
    qint64 integer(const QString &field) const;

private:
    const Query &m_query;
    int m_row;
};
