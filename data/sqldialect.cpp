#include "sqldialect.h"

#include <QRegularExpression>

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
    return outsideLiterals(sql, [dialect](QString code) {
        code.replace(deleteStar, QStringLiteral("delete from"));
        if (dialect == SqlDialect::Postgres)
            code.replace(like, QStringLiteral("ilike"));
        return code;
    });
}

} // namespace

TranslatedStatement translateStatement(const QString &jetText, SqlDialect dialect) {
    TranslatedStatement result;
    const QString positional = scanParameters(jetText, [&](const QString &name) {
        result.parameterOrder << name;
        return dialect == SqlDialect::Sqlite
                   ? QStringLiteral("?")
                   : QStringLiteral("$%1").arg(result.parameterOrder.size());
    });
    result.sql = rewriteJetForms(positional, dialect);
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
