#include "tablekeys.h"

#include "schemastatements.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace {

const QRegularExpression::PatternOption caseless = QRegularExpression::CaseInsensitiveOption;

struct TableFacts {
    QStringList key;
    QSet<QString> neverNull;
};

// The column definitions of a CREATE TABLE, split at the commas outside parentheses.
QStringList columnDefinitions(const QString &statement) {
    const qsizetype open = statement.indexOf(QChar('('));
    const qsizetype close = statement.lastIndexOf(QChar(')'));
    QStringList definitions;
    int depth = 0;
    qsizetype start = open + 1;
    for (qsizetype i = open + 1; i < close; ++i) {
        if (statement.at(i) == QChar('('))
            ++depth;
        else if (statement.at(i) == QChar(')'))
            --depth;
        else if (statement.at(i) == QChar(',') && depth == 0) {
            definitions << statement.mid(start, i - start).trimmed();
            start = i + 1;
        }
    }
    definitions << statement.mid(start, close - start).trimmed();
    return definitions;
}

QHash<QString, TableFacts> readSchema() {
    static const QRegularExpression table(QStringLiteral(R"(^CREATE\s+TABLE\s+(\w+))"), caseless);
    static const QRegularExpression uniqueIndex(
        QStringLiteral(R"(^CREATE\s+UNIQUE\s+INDEX\s+\w+\s+ON\s+(\w+)\s*\(([^)]*)\))"), caseless);
    static const QRegularExpression primaryKey(QStringLiteral(R"(\bPRIMARY\s+KEY\b)"), caseless);
    static const QRegularExpression notNull(QStringLiteral(R"(\bNOT\s+NULL\b)"), caseless);
    QHash<QString, TableFacts> tables;
    QHash<QString, QStringList> uniqueIndexes;
    for (const QString &statement : schemaStatements()) {
        if (const QRegularExpressionMatch index = uniqueIndex.match(statement); index.hasMatch()) {
            QStringList columns;
            for (const QString &column : index.captured(2).split(QChar(',')))
                columns << column.trimmed().toLower();
            uniqueIndexes.insert(index.captured(1).toLower(), columns);
            continue;
        }
        const QRegularExpressionMatch created = table.match(statement);
        if (!created.hasMatch())
            continue;
        TableFacts &facts = tables[created.captured(1).toLower()];
        for (const QString &definition : columnDefinitions(statement)) {
            const QString column = definition.section(QChar(' '), 0, 0).toLower();
            if (definition.contains(primaryKey))
                facts.key << column;
            if (definition.contains(primaryKey) || definition.contains(notNull))
                facts.neverNull.insert(column);
        }
    }
    for (auto index = uniqueIndexes.cbegin(); index != uniqueIndexes.cend(); ++index)
        if (TableFacts &facts = tables[index.key()]; facts.key.isEmpty())
            facts.key = index.value();
    return tables;
}

const TableFacts &factsOf(const QString &table) {
    static const QHash<QString, TableFacts> tables = readSchema();
    static const TableFacts unknown;
    const auto found = tables.constFind(table.toLower());
    return found == tables.constEnd() ? unknown : *found;
}

} // namespace

QStringList tableKeyOf(const QString &table) {
    return factsOf(table).key;
}

bool columnIsNeverNull(const QString &table, const QString &column) {
    return factsOf(table).neverNull.contains(column.toLower());
}
