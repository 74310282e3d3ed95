#include "sqldialect.h"

#include "sqltext.h"
#include "tablekeys.h"
#include "totalorder.h"

#include <QRegularExpression>
#include <vector>

namespace {

bool isNameChar(QChar c) {
    return c.isLetterOrNumber() || c == QChar('_');
}

// Walks the text once, copying literals untouched and handing each ":name" outside them to
// the callback, which returns what stands in its place.
template <typename OnParameter>
QString scanParameters(const QString &text, OnParameter onParameter) {
    QString out;
    out.reserve(text.size());
    QChar quote;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            out += c;
        } else if (c == QChar('\'') || c == QChar('"')) {
            quote = c;
            out += c;
        } else if (c == QChar(':') && i + 1 < text.size() && isNameChar(text.at(i + 1))) {
            qsizetype end = i + 1;
            while (end < text.size() && isNameChar(text.at(end)))
                ++end;
            out += onParameter(text.mid(i + 1, end - i - 1));
            i = end - 1;
        } else {
            out += c;
        }
    }
    return out;
}

// Applies `rewrite` to the statement's text between its quoted literals, so that a stored
// name or a like pattern that happens to contain a Jet form stays as written.
template <typename Rewrite> QString outsideLiterals(const QString &text, Rewrite rewrite) {
    QString out;
    out.reserve(text.size());
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype quote = start;
        while (quote < text.size() && text.at(quote) != QChar('\'') && text.at(quote) != QChar('"'))
            ++quote;
        out += rewrite(text.mid(start, quote - start));
        if (quote == text.size())
            break;
        const qsizetype close = text.indexOf(text.at(quote), quote + 1);
        const qsizetype end = close < 0 ? text.size() : close + 1;
        out += text.mid(quote, end - quote);
        start = end;
    }
    return out;
}

QString rewriteJetForms(const QString &sql, SqlDialect dialect) {
    // Jet's "delete * from t" is standard "delete from t".
    static const QRegularExpression deleteStar(QStringLiteral(R"(\bdelete\s+\*\s+from\b)"),
                                               QRegularExpression::CaseInsensitiveOption);
    // Jet and SQLite match "like" without regard to ASCII case; PostgreSQL's "like" does not.
    static const QRegularExpression like(QStringLiteral(R"(\blike\b)"),
                                         QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression nocase(QStringLiteral(R"(\bcollate\s+nocase\b)"),
                                           QRegularExpression::CaseInsensitiveOption);
    return outsideLiterals(sql, [dialect](QString code) {
        code.replace(deleteStar, QStringLiteral("delete from"));
        if (dialect == SqlDialect::Postgres) {
            code.replace(like, sqlFragment(SqlFragment::CaseBlindLike, dialect));
            // A statement's own "collate nocase" asks for the order names are listed in.
            code.replace(nocase, QStringLiteral("collate ") +
                                     sqlFragment(SqlFragment::PinyinCollation, dialect));
        }
        return code;
    });
}

// PostgreSQL (before 16) wants a name for every sub-query in a from list; Jet and SQLite do
// not. Each unnamed one gets a name of its own.
QString nameDerivedTables(QString sql) {
    static const QRegularExpression fromParenthesis(QStringLiteral(R"(\bfrom\s*\()"),
                                                    QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression nextWord(QStringLiteral(R"(^\s*(\w*))"));
    static const QStringList notAName{QStringLiteral("where"), QStringLiteral("group"),
                                      QStringLiteral("order"), QStringLiteral("having"),
                                      QStringLiteral("union"), QStringLiteral("limit"),
                                      QStringLiteral("join"),  QStringLiteral("inner"),
                                      QStringLiteral("left"),  QStringLiteral("on")};
    int named = 0;
    qsizetype from = 0;
    for (;;) {
        const std::vector<bool> inLiteral = literalMask(sql);
        const QRegularExpressionMatch match = fromParenthesis.match(sql, from);
        if (!match.hasMatch())
            return sql;
        const qsizetype open = match.capturedEnd() - 1;
        from = open + 1;
        if (inLiteral[std::size_t(open)])
            continue;
        const qsizetype close = levelEnd(sql, inLiteral, open + 1);
        if (close >= sql.size())
            return sql;
        const QString word = nextWord.match(QStringView(sql).mid(close + 1)).captured(1).toLower();
        if (word.isEmpty() || notAName.contains(word))
            sql.insert(close + 1, QStringLiteral(" as gz_derived%1").arg(++named));
    }
}

// Whether `term` orders by a column of the statement's own table that is declared never null.
bool ordersByNeverNullColumn(const QString &term, const StatementSource &source) {
    static const QRegularExpression column(
        QStringLiteral(R"(^(?:(\w+)\.)?(\w+)(?:\s+collate\s+\S+)?(?:\s+(?:asc|desc))?$)"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = column.match(term);
    const QString qualifier = match.captured(1);
    return match.hasMatch() &&
           (qualifier.isEmpty() || qualifier.compare(source.name, Qt::CaseInsensitive) == 0) &&
           columnIsNeverNull(source.table, match.captured(2));
}

// SQLite puts nulls first in an ascending order and last in a descending one; PostgreSQL
// does the opposite. Every term of every order by says which it wants, but for a column that
// cannot hold a null: there the words would only keep the server from reading an index in
// the order asked for.
QString orderNullsAsSqlite(QString sql) {
    static const QRegularExpression orderBy(QStringLiteral(R"(\border\s+by\b)"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression clauseEnd(QStringLiteral(R"(\b(limit|offset)\b)"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression descending(QStringLiteral(R"(\bdesc\s*$)"),
                                               QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression saysNulls(QStringLiteral(R"(\bnulls\s+(first|last)\s*$)"),
                                              QRegularExpression::CaseInsensitiveOption);
    qsizetype from = 0;
    for (;;) {
        const std::vector<bool> inLiteral = literalMask(sql);
        const QRegularExpressionMatch match = orderBy.match(sql, from);
        if (!match.hasMatch())
            return sql;
        from = match.capturedEnd();
        if (inLiteral[std::size_t(match.capturedStart())])
            continue;
        // A sub-query's terms may name columns of another table than the statement's own.
        const StatementSource source =
            depthAt(sql, inLiteral, match.capturedStart()) == 0 ? sourceOf(sql) : StatementSource{};
        qsizetype end = levelEnd(sql, inLiteral, from);
        const QRegularExpressionMatch limit = clauseEnd.match(sql.left(end), from);
        if (limit.hasMatch())
            end = limit.capturedStart();
        // The terms, split at the commas of this level.
        QString rewritten;
        qsizetype termStart = from;
        int depth = 0;
        for (qsizetype i = from; i <= end; ++i) {
            const bool last = i == end;
            if (!last && !inLiteral[std::size_t(i)]) {
                if (sql.at(i) == QChar('('))
                    ++depth;
                else if (sql.at(i) == QChar(')'))
                    --depth;
            }
            if (!last && (inLiteral[std::size_t(i)] || depth > 0 || sql.at(i) != QChar(',')))
                continue;
            QString term = sql.mid(termStart, i - termStart);
            const QString body = term.trimmed();
            if (!body.isEmpty() && !body.contains(saysNulls) &&
                !ordersByNeverNullColumn(body, source))
                term = QStringLiteral(" ") + body +
                       (body.contains(descending) ? QStringLiteral(" nulls last")
                                                  : QStringLiteral(" nulls first")) +
                       QStringLiteral(" ");
            rewritten += term + (last ? QString() : QStringLiteral(","));
            termStart = i + 1;
        }
        sql.replace(from, end - from, rewritten);
        from += rewritten.size();
    }
}

} // namespace

QString sqlFragment(SqlFragment fragment, SqlDialect dialect) {
    const bool file = dialect == SqlDialect::Sqlite;
    switch (fragment) {
    case SqlFragment::CaseBlindLike:
        return file ? QStringLiteral("like") : QStringLiteral("ilike");
    case SqlFragment::PinyinCollation:
        // On the file the program's connection gives NOCASE pinyin order (pinyinorder.h).
        return file ? QStringLiteral("nocase") : QStringLiteral(R"("zh-x-icu")");
    case SqlFragment::NumberedKey:
        // By default: a key given (a copy, a fixed number) is kept on either engine.
        return file ? QStringLiteral("INTEGER PRIMARY KEY")
                    : QStringLiteral("bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
    case SqlFragment::DatabaseUser:
        return file ? QStringLiteral("null") : QStringLiteral("cast(current_user as text)");
    case SqlFragment::LocalTime:
        return file ? QStringLiteral("strftime('%Y-%m-%d %H:%M:%S','now','localtime')")
                    : QStringLiteral("to_char(localtimestamp,'YYYY-MM-DD HH24:MI:SS')");
    }
    return {};
}

TranslatedStatement translateStatement(const QString &jetText, SqlDialect dialect) {
    TranslatedStatement result;
    const QString positional = scanParameters(jetText, [&](const QString &name) {
        result.parameterOrder << name;
        return dialect == SqlDialect::Sqlite
                   ? QStringLiteral("?")
                   : QStringLiteral("$%1").arg(result.parameterOrder.size());
    });
    result.sql = withTotalOrder(rewriteJetForms(positional, dialect));
    if (dialect == SqlDialect::Postgres)
        result.sql = orderNullsAsSqlite(nameDerivedTables(result.sql));
    return result;
}

QStringList parameterNames(const QString &jetText) {
    QStringList names;
    scanParameters(jetText, [&](const QString &name) {
        if (!names.contains(name, Qt::CaseInsensitive))
            names << name;
        return QString();
    });
    return names;
}
