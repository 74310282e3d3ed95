#include "sqltext.h"

#include <algorithm>

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

namespace {

// Walks the characters from `from` up to `end` that lie outside literals, telling `visit` each
// one's position and how many parentheses opened after `from` are open before it; stops where
// `visit` returns true and gives that position, else `end`.
template <typename Visit>
qsizetype walkOutsideLiterals(const QString &sql, const std::vector<bool> &inLiteral,
                              qsizetype from, qsizetype end, Visit visit) {
    int depth = 0;
    for (qsizetype i = from; i < end; ++i) {
        if (inLiteral[std::size_t(i)])
            continue;
        if (visit(i, depth))
            return i;
        if (sql.at(i) == QChar('('))
            ++depth;
        else if (sql.at(i) == QChar(')'))
            --depth;
    }
    return end;
}

} // namespace

qsizetype levelEnd(const QString &sql, const std::vector<bool> &inLiteral, qsizetype from) {
    return walkOutsideLiterals(sql, inLiteral, from, sql.size(), [&](qsizetype i, int depth) {
        return depth == 0 && sql.at(i) == QChar(')');
    });
}

int depthAt(const QString &sql, const std::vector<bool> &inLiteral, qsizetype position) {
    int open = 0;
    walkOutsideLiterals(sql, inLiteral, 0, std::min(position, sql.size()),
                        [&](qsizetype i, int depth) {
                            open = depth + (sql.at(i) == QChar('(')) - (sql.at(i) == QChar(')'));
                            return false;
                        });
    return open;
}

QStringList splitAtTopLevelCommas(const QString &sql, const std::vector<bool> &inLiteral,
                                  qsizetype from, qsizetype end) {
    QStringList parts;
    qsizetype start = from;
    walkOutsideLiterals(sql, inLiteral, from, end, [&](qsizetype i, int depth) {
        if (depth == 0 && sql.at(i) == QChar(',')) {
            parts << sql.mid(start, i - start).trimmed();
            start = i + 1;
        }
        return false;
    });
    parts << sql.mid(start, end - start).trimmed();
    return parts;
}
