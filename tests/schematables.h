#pragma once

#include "schemastatements.h"

#include <QRegularExpression>
#include <QStringList>

// The tables a file of layout `version` lacks, in the order the later sections create them: what
// a test drops to make a file of that layout out of a current one.
inline QStringList tablesCreatedAfterVersion(int version) {
    static const QRegularExpression createTable(QStringLiteral(R"(^CREATE\s+TABLE\s+(\w+))"));
    QStringList tables;
    for (const QString &statement : statementsAfterVersion(version)) {
        const QRegularExpressionMatch match = createTable.match(statement);
        if (match.hasMatch())
            tables << match.captured(1);
    }
    return tables;
}

// The triggers a file of layout `version` lacks: a test drops them with the tables they guard.
// On a server each is a trigger with its function of the same name.
inline QStringList triggersCreatedAfterVersion(int version) {
    static const QRegularExpression createTrigger(QStringLiteral(R"(^CREATE\s+TRIGGER\s+(\w+))"));
    QStringList triggers;
    for (const QString &statement : statementsAfterVersion(version)) {
        const QRegularExpressionMatch match = createTrigger.match(statement);
        if (match.hasMatch())
            triggers << match.captured(1);
    }
    return triggers;
}

// What takes a file back to the tables of layout `version`: the later triggers and tables
// dropped. The version number is the caller's to set.
inline QStringList fileDropsAfterVersion(int version) {
    QStringList drops;
    for (const QString &trigger : triggersCreatedAfterVersion(version))
        drops << QStringLiteral("drop trigger %1").arg(trigger);
    for (const QString &table : tablesCreatedAfterVersion(version))
        drops << QStringLiteral("drop table %1").arg(table);
    return drops;
}
