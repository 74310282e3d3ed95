#include "resultset.h"

#include "amountcolumns.h"
#include "dberror.h"

#include <QStringDecoder>
#include <sqlite3.h>

ResultSet ResultSet::read(sqlite3_stmt *statement, int firstStep, int &lastStep) {
    ResultSet result;
    const int columns = sqlite3_column_count(statement);
    for (int column = 0; column < columns; ++column) {
        // As the names always read: without the quotes a statement may put around them.
        const QString name =
            QString::fromUtf8(sqlite3_column_name(statement, column)).remove(QChar('"'));
        result.m_names << name;
        result.m_amount.push_back(::isAmountColumn(name));
        // The first of two equal names wins, as a lookup by name finds the leftmost column.
        if (!result.m_index.contains(name.toLower()))
            result.m_index.insert(name.toLower(), column);
    }

    int step = firstStep;
    for (; step == SQLITE_ROW; step = sqlite3_step(statement)) {
        for (int column = 0; column < columns; ++column) {
            switch (sqlite3_column_type(statement, column)) {
            case SQLITE_NULL:
                result.append(Kind::Null, std::int64_t(0));
                break;
            case SQLITE_INTEGER:
                result.append(Kind::Integer, std::int64_t(sqlite3_column_int64(statement, column)));
                break;
            case SQLITE_FLOAT:
                result.append(Kind::Real, sqlite3_column_double(statement, column));
                break;
            default: {
                const auto *text =
                    reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
                result.appendText(text, sqlite3_column_bytes(statement, column));
            }
            }
        }
        ++result.m_rowCount;
    }
    lastStep = step;
    result.m_values.shrink_to_fit();
    result.m_kinds.shrink_to_fit();
    result.m_texts.squeeze();
    return result;
}

// Decodes straight into the shared buffer: no text of its own for any cell.
void ResultSet::appendText(const char *utf8, int bytes) {
    const qsizetype offset = m_texts.size();
    // UTF-8 never takes fewer bytes than UTF-16 takes units.
    if (offset + qsizetype(bytes) > qsizetype(UINT32_MAX))
        throw DbError(QStringLiteral("The result is too large to hold."));
    if (m_texts.capacity() < offset + bytes)
        m_texts.reserve(std::max<qsizetype>(2 * m_texts.capacity(), offset + bytes));
    m_texts.resize(offset + bytes);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QChar *end = decoder.appendToBuffer(m_texts.data() + offset, QByteArrayView(utf8, bytes));
    m_texts.truncate(end - m_texts.constData());
    append(Kind::Text,
           TextSpan{std::uint32_t(offset), std::uint32_t(end - m_texts.constData() - offset)});
}

QStringView ResultSet::text(int row, int column) const {
    const TextSpan span = value<TextSpan>(row, column);
    return QStringView(m_texts).mid(span.offset, span.length);
}
