#include "resultset.h"

#include "amountcolumns.h"
#include "dberror.h"

#include <QStringDecoder>

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

void ResultSet::reserve(std::size_t cells, qsizetype textBytes) {
    m_values.reserve(cells);
    m_kinds.reserve(cells);
    // UTF-8 never takes fewer bytes than UTF-16 takes units.
    m_texts.reserve(textBytes);
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
