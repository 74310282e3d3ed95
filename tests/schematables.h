#pragma once

#include "schemastatements.h"

#include <QRegularExpression>
#include <QStringList>

// The names of the objects of `kind` ("TABLE", "TRIGGER") a file of layout `version` lacks, in
// the order the later sections create them.
inline QStringList createdAfterVersion(int version, const QString &kind) {
    const QRegularExpression create(QStringLiteral(R"(^CREATE\s+%1\s+(\w+))").arg(kind));
    QStringList names;
    for (const QString &statement : statementsAfterVersion(version)) {
        const QRegularExpressionMatch match = create.match(statement);
        if (match.hasMatch())
            names << match.captured(1);
    }
    return names;
}

// The tables a file of layout `version` lacks: what a test drops to make a file of that layout
// out of a current one.
inline QStringList tablesCreatedAfterVersion(int version) {
    return createdAfterVersion(version, QStringLiteral("TABLE"));
}

// The triggers a file of layout `version` lacks: a test drops them with the tables they guard.
// On a server each is a trigger with its function of the same name.
inline QStringList triggersCreatedAfterVersion(int version) {
    return createdAfterVersion(version, QStringLiteral("TRIGGER"));
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
