#include "schemastatements.h"

#include <QFile>
#include <QRegularExpression>

namespace {

// A line without the comment that may end it ("-- amount"): the engines get the statements as
// they always were, whatever the schema declares beside them.
QString withoutTrailingComment(const QString &line) {
    bool quoted = false;
    for (qsizetype i = 0; i + 1 < line.size(); ++i) {
        if (line[i] == QChar('\''))
            quoted = !quoted;
        else if (!quoted && line[i] == QChar('-') && line[i + 1] == QChar('-')) {
            QString kept = line.left(i);
            while (kept.endsWith(QChar(' ')))
                kept.chop(1);
            return kept;
        }
    }
    return line;
}

} // namespace

QStringList statementsAfterVersion(int version) {
    QFile file(QStringLiteral(":/data/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression versionLine(QStringLiteral("^--\\s*Version\\s+(\\d+)"));
    int section = 1;
    QString text;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QChar('\n'))) {
        const QRegularExpressionMatch match = versionLine.match(line);
        if (match.hasMatch())
            section = match.captured(1).toInt();
        else if (section > version && !line.trimmed().startsWith(QStringLiteral("--")))
            text += withoutTrailingComment(line) + QChar('\n');
    }
    // A trigger's body holds statements of its own, each ending in ";": the trigger ends with
    // the "END" after them.
    static const QRegularExpression trigger(QStringLiteral("^CREATE\\s+TRIGGER\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression triggerEnd(QStringLiteral("\\bEND$"),
                                               QRegularExpression::CaseInsensitiveOption);
    QStringList statements;
    QString pending;
    for (const QString &piece : text.split(QChar(';'))) {
        pending += pending.isEmpty() ? piece.trimmed() : QChar(';') + piece;
        if (pending.contains(trigger) && !pending.trimmed().contains(triggerEnd))
            continue;
        if (!pending.trimmed().isEmpty())
            statements << pending.trimmed();
        pending.clear();
    }
    return statements;
}

QStringList schemaStatements() {
    return statementsAfterVersion(0);
}
