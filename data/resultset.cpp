#include "resultset.h"

#include "amountcolumns.h"
#include "dberror.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

ResultSet ResultSet::read(QSqlQuery &statement) {
    ResultSet result;
    const QSqlRecord record = statement.record();
    for (int column = 0; column < record.count(); ++column) {
        const QString name = record.fieldName(column);
        result.m_names << name;
        result.m_amount.push_back(::isAmountColumn(name));
        // The first of two equal names wins, as a lookup by name finds the leftmost column.
        if (!result.m_index.contains(name.toLower()))
            result.m_index.insert(name.toLower(), column);
    }

    const int columns = record.count();
    while (statement.next()) {
        for (int column = 0; column < columns; ++column) {
            const QVariant value = statement.value(column);
            Cell cell{};
            if (value.isNull()) {
                cell.kind = Kind::Null;
            } else if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int) {
                cell.kind = Kind::Integer;
                cell.integer = value.toLongLong();
            } else if (value.typeId() == QMetaType::Double) {
                cell.kind = Kind::Real;
                cell.real = value.toDouble();
            } else {
                const QString text = value.toString();
                if (qsizetype(result.m_texts.size()) + text.size() > qsizetype(UINT32_MAX))
                    throw DbError(QStringLiteral("The result is too large to hold."));
                cell.kind = Kind::Text;
                cell.span = {std::uint32_t(result.m_texts.size()), std::uint32_t(text.size())};
                result.m_texts += text;
            }
            result.m_cells.push_back(cell);
        }
        ++result.m_rowCount;
    }
    result.m_cells.shrink_to_fit();
    result.m_texts.squeeze();
    return result;
}

QStringView ResultSet::text(int row, int column) const {
    const Cell &c = cell(row, column);
    return QStringView(m_texts).mid(c.span.offset, c.span.length);
}
