#include "totalorder.h"

#include "serverschema.h"
#include "sqltext.h"
#include "tablekeys.h"

#include <QRegularExpression>

namespace {

const QRegularExpression::PatternOption caseless = QRegularExpression::CaseInsensitiveOption;

// The first match of `pattern` from `from` on that lies outside literals and parentheses.
QRegularExpressionMatch topLevelMatch(const QString &sql, const std::vector<bool> &inLiteral,
                                      const QRegularExpression &pattern, qsizetype from = 0) {
    for (auto matches = pattern.globalMatch(sql, from); matches.hasNext();) {
        QRegularExpressionMatch match = matches.next();
        if (!inLiteral[std::size_t(match.capturedStart())] &&
            depthAt(sql, inLiteral, match.capturedStart()) == 0)
            return match;
    }
    return {};
}

// The column a term orders by, without its qualifier, direction or collation, lower case;
// empty for an expression.
QString orderedColumn(const QString &term) {
    static const QRegularExpression column(
        QStringLiteral(R"(^(?:\w+\.)?(\w+)(?:\s+collate\s+\S+)?(?:\s+(?:asc|desc))?$)"), caseless);
    return column.match(term.trimmed()).captured(1).toLower();
}

// Where a clause that starts at `from` ends: at the next clause of the same level, or the end.
qsizetype clauseEnd(const QString &sql, const std::vector<bool> &inLiteral, qsizetype from) {
    static const QRegularExpression nextClause(
        QStringLiteral(R"(\b(having|order\s+by|limit|offset|union)\b)"), caseless);
    const QRegularExpressionMatch next = topLevelMatch(sql, inLiteral, nextClause, from);
    return next.hasMatch() ? next.capturedStart() : levelEnd(sql, inLiteral, from);
}

// The terms that make the rows of `sql` total that its order by's `orderTerms` lack.
QStringList missingTerms(const QString &sql, const std::vector<bool> &inLiteral,
                         const QStringList &orderTerms) {
    static const QRegularExpression groupBy(QStringLiteral(R"(\bgroup\s+by\b)"), caseless);
    QStringList identifying;
    if (const QRegularExpressionMatch group = topLevelMatch(sql, inLiteral, groupBy);
        group.hasMatch()) {
        identifying = splitAtTopLevelCommas(sql, inLiteral, group.capturedEnd(),
                                            clauseEnd(sql, inLiteral, group.capturedEnd()));
    } else {
        const StatementSource source = sourceOf(sql);
        // A column of a join is named after its table; a single table's stands alone.
        for (const QString &column : tableKeyOf(source.table))
            identifying << (source.joined ? source.name + QChar('.') + column : column);
    }
    QStringList ordered;
    for (const QString &term : orderTerms)
        ordered << orderedColumn(term);
    QStringList missing;
    for (const QString &term : identifying)
        if (!ordered.contains(orderedColumn(term)))
            missing << term;
    return missing;
}

// SQLite lists a table without an order of its own by its numbered key; a server in whatever
// order its rows happen to lie, which changes with every update.
QString listingInKeyOrder(const QString &sql) {
    static const QRegularExpression listing(
        QStringLiteral(R"(^\s*select\s.*?\sfrom\s+(\w+)\s*(where\s.*)?$)"),
        caseless | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression ordered(
        QStringLiteral(R"(\b(order|group)\s+by\b|\bjoin\b|\bunion\b|\(|\blimit\b)"), caseless);
    const QRegularExpressionMatch match = listing.match(sql);
    if (!match.hasMatch() || sql.contains(ordered))
        return sql;
    const QString key = numberedKeyOf(match.captured(1));
    return key.isEmpty() ? sql : sql.trimmed() + QStringLiteral(" order by ") + key;
}

} // namespace

StatementSource sourceOf(const QString &sql) {
    static const QRegularExpression from(QStringLiteral(R"(\bfrom\s+(\w+)(?:\s+(?:as\s+)?(\w+))?)"),
                                         caseless);
    static const QStringList notAName{
        QStringLiteral("where"),  QStringLiteral("group"), QStringLiteral("order"),
        QStringLiteral("having"), QStringLiteral("union"), QStringLiteral("limit"),
        QStringLiteral("join"),   QStringLiteral("inner"), QStringLiteral("left"),
        QStringLiteral("right"),  QStringLiteral("cross"), QStringLiteral("on"),
        QStringLiteral("offset")};
    const std::vector<bool> inLiteral = literalMask(sql);
    const QRegularExpressionMatch match = topLevelMatch(sql, inLiteral, from);
    if (!match.hasMatch())
        return {};
    static const QRegularExpression fromEnd(
        QStringLiteral(R"(\b(where|group\s+by|order\s+by|having|limit|union)\b)"), caseless);
    static const QRegularExpression join(QStringLiteral(R"(,|\bjoin\b)"), caseless);
    const QRegularExpressionMatch end =
        topLevelMatch(sql, inLiteral, fromEnd, match.capturedEnd(1));
    const QString fromList =
        sql.mid(match.capturedStart(),
                (end.hasMatch() ? end.capturedStart() : sql.size()) - match.capturedStart());
    const QString alias = match.captured(2);
    const bool named = !alias.isEmpty() && !notAName.contains(alias.toLower());
    return {match.captured(1), named ? alias : match.captured(1), fromList.contains(join)};
}

QString withTotalOrder(const QString &sql) {
    static const QRegularExpression select(QStringLiteral(R"(^\s*select\s)"), caseless);
    static const QRegularExpression distinct(QStringLiteral(R"(^\s*select\s+distinct\b)"),
                                             caseless);
    static const QRegularExpression unionWord(QStringLiteral(R"(\bunion\b)"), caseless);
    static const QRegularExpression orderBy(QStringLiteral(R"(\border\s+by\b)"), caseless);
    if (!sql.contains(select) || sql.contains(distinct))
        return sql;
    const std::vector<bool> inLiteral = literalMask(sql);
    if (topLevelMatch(sql, inLiteral, unionWord).hasMatch())
        return sql;
    const QRegularExpressionMatch order = topLevelMatch(sql, inLiteral, orderBy);
    if (!order.hasMatch())
        return listingInKeyOrder(sql);
    const qsizetype termsEnd = clauseEnd(sql, inLiteral, order.capturedEnd());
    const QStringList missing = missingTerms(
        sql, inLiteral, splitAtTopLevelCommas(sql, inLiteral, order.capturedEnd(), termsEnd));
    if (missing.isEmpty())
        return sql;
    qsizetype lastTermEnd = termsEnd;
    while (lastTermEnd > order.capturedEnd() && sql.at(lastTermEnd - 1).isSpace())
        --lastTermEnd;
    return sql.left(lastTermEnd) + QStringLiteral(", ") + missing.join(QStringLiteral(", ")) +
           sql.mid(lastTermEnd);
}
