#include "sqltext.h"

std::vector<bool> literalMask(const QString &text) {
    std::vector<bool> inLiteral(std::size_t(text.size()), false);
    QChar quote;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!quote.isNull()) {
            inLiteral[std::size_t(i)] = true;
            if (c == quote)
                quote = QChar();
        } else if (c == QChar('\'') || c == QChar('"')) {
            quote = c;
            inLiteral[std::size_t(i)] = true;
        }
    }
    return inLiteral;
}

qsizetype levelEnd(const QString &sql, const std::vector<bool> &inLiteral, qsizetype from) {
    int depth = 0;
    for (qsizetype i = from; i < sql.size(); ++i) {
        if (inLiteral[std::size_t(i)])
            continue;
        if (sql.at(i) == QChar('('))
            ++depth;
        else if (sql.at(i) == QChar(')') && depth-- == 0)
            return i;
    }
    return sql.size();
}

int depthAt(const QString &sql, const std::vector<bool> &inLiteral, qsizetype position) {
    int depth = 0;
    for (qsizetype i = 0; i < position && i < sql.size(); ++i) {
        if (inLiteral[std::size_t(i)])
            continue;
        if (sql.at(i) == QChar('('))
            ++depth;
        else if (sql.at(i) == QChar(')'))
            --depth;
    }
    return depth;
}
