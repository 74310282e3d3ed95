#include "schemastatements.h"

#include <QFile>

QStringList schemaStatements() {
    QFile file(QStringLiteral(":/data/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QChar('\n')))
        if (!line.trimmed().startsWith(QStringLiteral("--")))
            text += line + QChar('\n');
    QStringList statements;
    for (const QString &statement : text.split(QChar(';')))
        if (!statement.trimmed().isEmpty())
            statements << statement.trimmed();
    return statements;
}
