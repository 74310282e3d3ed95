#pragma once

#include "currency.h"
#include "hugepageallocator.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstring>
#include <vector>

// A whole result read into memory: one flat array of 8-byte values beside one of their
// kinds, texts in one shared buffer, so that reading it allocates nothing per row or cell.
// Holding it compactly keeps counts, backward moves and bookmarks cheap for thousands of rows.
class ResultSet {
public:
    enum class Kind : std::uint8_t { Null, Integer, Real, Text };

    // An engine fills a result row by row: one value for each column, then endRow(), and
    // finish() once every row is in.
    explicit ResultSet(const QStringList &columnNames);
    void appendNull() { append(Kind::Null, std::int64_t(0)); }
    void appendInteger(std::int64_t value) { append(Kind::Integer, value); }
    void appendReal(double value) { append(Kind::Real, value); }
    void appendText(const char *utf8, int bytes);
    // For an engine that knows (or can guess) the size of the whole result before reading it:
    // room for its cells and for texts of `textUnits` UTF-16 units, so that nothing grows
    // while it is read.
    void reserve(std::size_t cells, qsizetype textUnits);
    void endRow() { ++m_rowCount; }
    void finish();

    int rowCount() const { return m_rowCount; }
    std::size_t cellCount() const { return m_values.size(); }
    qsizetype textUnits() const { return m_texts.size(); }
    int columnCount() const { return int(m_names.size()); }
    const QString &columnName(int column) const { return m_names.at(column); }
    bool isAmountColumn(int column) const { return m_amount.at(column); }
    // -1 when the result has no such column; names match without regard to case.
    int columnIndex(const QString &name) const { return m_index.value(name.toLower(), -1); }

    Kind kind(int row, int column) const { return m_kinds[at(row, column)]; }
    std::int64_t integer(int row, int column) const { return value<std::int64_t>(row, column); }
    double real(int row, int column) const { return value<double>(row, column); }
    QStringView text(int row, int column) const;

private:
    struct TextSpan {
        std::uint32_t offset;
        std::uint32_t length;
    };
    std::size_t at(int row, int column) const {
        return std::size_t(row) * m_names.size() + std::size_t(column);
    }
    template <typename T> T value(int row, int column) const {
        static_assert(sizeof(T) == sizeof(std::uint64_t));
        T v;
        std::memcpy(&v, &m_values[at(row, column)], sizeof v);
        return v;
    }
    template <typename T> void append(Kind kind, T v) {
        static_assert(sizeof(T) == sizeof(std::uint64_t));
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        m_values.push_back(bits);
        m_kinds.push_back(kind);
    }

    QStringList m_names;
    std::vector<bool> m_amount;
    QHash<QString, int> m_index;
    std::vector<std::uint64_t, HugePageAllocator<std::uint64_t>>
        m_values; // an integer, a real or a TextSpan, by its kind
    std::vector<Kind, HugePageAllocator<Kind>> m_kinds;
    QString m_texts;
    int m_rowCount = 0;
};
