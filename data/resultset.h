#pragma once

#include "currency.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class QSqlQuery;

// A whole result read into memory: one flat array of small cells, texts in one shared buffer.
// Holding it compactly keeps counts, backward moves and bookmarks cheap for thousands of rows.
class ResultSet {
public:
    enum class Kind : std::uint8_t { Null, Integer, Real, Text };

    // Reads every row of an executed statement.
    static ResultSet read(QSqlQuery &statement);

    int rowCount() const { return m_rowCount; }
    int columnCount() const { return int(m_names.size()); }
    const QString &columnName(int column) const { return m_names.at(column); }
    bool isAmountColumn(int column) const { return m_amount.at(column); }
    // -1 when the result has no such column; names match without regard to case.
    int columnIndex(const QString &name) const { return m_index.value(name.toLower(), -1); }

    Kind kind(int row, int column) const { return cell(row, column).kind; }
    std::int64_t integer(int row, int column) const { return cell(row, column).integer; }
    double real(int row, int column) const { return cell(row, column).real; }
    QStringView text(int row, int column) const;

private:
    struct TextSpan {
        std::uint32_t offset;
        std::uint32_t length;
    };
    struct Cell {
        union {
            std::int64_t integer;
            double real;
            TextSpan span;
        };
        Kind kind;
    };
    const Cell &cell(int row, int column) const {
        return m_cells[std::size_t(row) * m_names.size() + std::size_t(column)];
    }

    QStringList m_names;
    std::vector<bool> m_amount;
    QHash<QString, int> m_index;
    std::vector<Cell> m_cells;
    QString m_texts;
    int m_rowCount = 0;
};
