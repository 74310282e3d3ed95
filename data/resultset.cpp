#include "resultset.h"

#include "amountcolumns.h"
#include "dberror.h"

#include <QStringDecoder>
#include <algorithm>

ResultSet::ResultSet(const QStringList &columnNames) {
    for (const QString &quoted : columnNames) {
        // As the names always read: without the quotes a statement may put around them.
        const QString name = QString(quoted).remove(QChar('"'));
        m_amount.push_back(::isAmountColumn(name));
        // The first of two equal names wins, as a lookup by name finds the leftmost column.
        if (!m_index.contains(name.toLower()))
            m_index.insert(name.toLower(), int(m_names.size()));
        m_names << name;
    }
}

void ResultSet::reserve(std::size_t cells, qsizetype textUnits) {
    m_values.reserve(cells);
    m_kinds.reserve(cells);
    m_texts.reserve(textUnits);
}

void ResultSet::finish() {
    m_values.shrink_to_fit();
    m_kinds.shrink_to_fit();
    m_texts.squeeze();
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
    QChar *const start = m_texts.data() + offset;
    qsizetype units = 0;
    if (std::all_of(utf8, utf8 + bytes, [](char c) { return uchar(c) < 0x80; })) {
        // Month keys, dates, numbers as text: most cells need no decoder at all.
        std::transform(utf8, utf8 + bytes, start, [](char c) { return QChar(uchar(c)); });
        units = bytes;
    } else {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        units = decoder.appendToBuffer(start, QByteArrayView(utf8, bytes)) - start;
    }
    m_texts.truncate(offset + units);
    append(Kind::Text, TextSpan{std::uint32_t(offset), std::uint32_t(units)});
}

QStringView ResultSet::text(int row, int column) const {
    const TextSpan span = value<TextSpan>(row, column);
    return QStringView(m_texts).mid(span.offset, span.length);
}
