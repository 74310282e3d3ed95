#include "schemastatements.h"

#include <QFile>
#include <QRegularExpression>

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
            text += line + QChar('\n');
    }
    QStringList statements;
    for (const QString &statement : text.split(QChar(';')))
        if (!statement.trimmed().isEmpty())
            statements << statement.trimmed();
    return statements;
}

QStringList schemaStatements() {
    return statementsAfterVersion(0);
}
