#include "serverschema.h"

#include "filemark.h"
#include "schemastatements.h"
#include "schemaversion.h"

#include <QHash>
#include <QRegularExpression>

namespace {

const QRegularExpression::PatternOption caseless = QRegularExpression::CaseInsensitiveOption;

// One past the largest key when an insert leaves the key out, as SQLite numbers a rowid, so
// that departments stay numbered 1, 2, 3, ... on either engine; a key given is kept.
const QString numberingFunction = QStringLiteral(R"(CREATE FUNCTION gz_next_number() RETURNS trigger
LANGUAGE plpgsql AS $body$
DECLARE
    next_number bigint;
BEGIN
    IF to_jsonb(NEW) ->> TG_ARGV[0] IS NULL THEN
        EXECUTE format('SELECT coalesce(max(%I), 0) + 1 FROM %I.%I', TG_ARGV[0],
                       TG_TABLE_SCHEMA, TG_TABLE_NAME) INTO next_number;
        NEW := jsonb_populate_record(NEW, jsonb_build_object(TG_ARGV[0], next_number));
    END IF;
    RETURN NEW;
END
$body$)");

QString serverTable(QString statement, QStringList &after) {
    static const QRegularExpression name(QStringLiteral(R"(^CREATE\s+TABLE\s+(\w+))"), caseless);
    static const QRegularExpression numberedKey(
        QStringLiteral(R"((\w+)\s+INTEGER\s+PRIMARY\s+KEY)"), caseless);
    static const QRegularExpression strict(QStringLiteral(R"(\)\s*STRICT\s*$)"), caseless);
    static const QRegularExpression integer(QStringLiteral(R"(\bINTEGER\b)"), caseless);
    static const QRegularExpression nocase(QStringLiteral(R"(\bCOLLATE\s+NOCASE\b)"), caseless);
    const QString table = name.match(statement).captured(1);
    const QRegularExpressionMatch key = numberedKey.match(statement);
    if (key.hasMatch())
        after << QStringLiteral("CREATE TRIGGER %1_number BEFORE INSERT ON %1 FOR EACH ROW "
                                "EXECUTE FUNCTION gz_next_number('%2')")
                     .arg(table, key.captured(1).toLower());
    statement.replace(strict, QStringLiteral(")"));
    statement.replace(integer, QStringLiteral("bigint"));
    statement.replace(nocase, QStringLiteral(R"(COLLATE "zh-x-icu")"));
    return statement;
}

} // namespace

QStringList serverStatementsAfterVersion(int version) {
    static const QRegularExpression pragma(QStringLiteral(R"(^PRAGMA\b)"), caseless);
    static const QRegularExpression table(QStringLiteral(R"(^CREATE\s+TABLE\b)"), caseless);
    QStringList statements;
    if (version == 0)
        statements << numberingFunction
                   << QStringLiteral("CREATE TABLE %1 (application_id integer NOT NULL, "
                                     "version integer NOT NULL)")
                          .arg(serverLayoutTable)
                   << QStringLiteral("INSERT INTO %1 VALUES (%2, 0)")
                          .arg(serverLayoutTable)
                          .arg(payrollFileMark);
    for (const QString &statement : statementsAfterVersion(version)) {
        if (statement.contains(pragma))
            continue;
        QStringList after;
        statements << (statement.contains(table) ? serverTable(statement, after) : statement)
                   << after;
    }
    statements
        << QStringLiteral("UPDATE %1 SET version = %2").arg(serverLayoutTable).arg(schemaVersion);
    return statements;
}

QStringList serverWorksheetStatements() {
    static const QRegularExpression worksheet(
        QStringLiteral(R"(^CREATE\s+(UNIQUE\s+)?(TABLE|INDEX)\s+(\w+\s+ON\s+)?Temp_GZB\b)"),
        caseless);
    static const QRegularExpression createTable(QStringLiteral(R"(^CREATE\s+TABLE)"), caseless);
    QStringList statements;
    QStringList unused;
    for (const QString &statement : schemaStatements())
        if (statement.contains(worksheet))
            statements << (statement.contains(createTable)
                               ? serverTable(statement, unused)
                                     .replace(createTable, QStringLiteral("CREATE TEMP TABLE"))
                               : statement);
    return statements;
}

QString numberedKeyOf(const QString &table) {
    static const QHash<QString, QString> keys = [] {
        static const QRegularExpression numbered(
            QStringLiteral(R"(^CREATE\s+TABLE\s+(\w+)\s*\(\s*(\w+)\s+INTEGER\s+PRIMARY\s+KEY)"),
            caseless);
        QHash<QString, QString> found;
        for (const QString &statement : schemaStatements())
            if (const QRegularExpressionMatch match = numbered.match(statement); match.hasMatch())
                found.insert(match.captured(1).toLower(), match.captured(2));
        return found;
    }();
    return keys.value(table.toLower());
}
