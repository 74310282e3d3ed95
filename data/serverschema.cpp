#include "serverschema.h"

#include "filemark.h"
#include "schemastatements.h"
#include "schemaversion.h"
#include "sqldialect.h"

#include <QRegularExpression>

namespace {

const QRegularExpression::PatternOption caseless = QRegularExpression::CaseInsensitiveOption;

// Today's tables draw their keys from an identity, which never hands one number to two
// sessions; an earlier layout numbered them one past the largest by this trigger function,
// which gave two clerks adding at the same moment the same number.
const QString triggerNumbering = QStringLiteral("gz_next_number");

// The tables whose key SQLite numbers by itself (INTEGER PRIMARY KEY), each with that key.
const QList<std::pair<QString, QString>> &numberedKeys() {
    static const QList<std::pair<QString, QString>> keys = [] {
        static const QRegularExpression numbered(
            QStringLiteral(R"(^CREATE\s+TABLE\s+(\w+)\s*\(\s*(\w+)\s+INTEGER\s+PRIMARY\s+KEY)"),
            caseless);
        QList<std::pair<QString, QString>> found;
        for (const QString &statement : schemaStatements())
            if (const QRegularExpressionMatch match = numbered.match(statement); match.hasMatch())
                found.append({match.captured(1).toLower(), match.captured(2).toLower()});
        return found;
    }();
    return keys;
}

// Moves the sequence of `table`'s key past the largest key stored, so that the next row left
// without one is numbered after every row copied or numbered before.
QString sequencePastKeys(const QString &table, const QString &key) {
    return QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), "
                          "coalesce(max(%2), 0) + 1, false) FROM %1")
        .arg(table, key);
}

QString serverTable(QString statement) {
    static const QRegularExpression numberedKey(
        QStringLiteral(R"(\b(\w+)\s+INTEGER\s+PRIMARY\s+KEY\b)"), caseless);
    static const QRegularExpression strict(QStringLiteral(R"(\)\s*STRICT\s*$)"), caseless);
    static const QRegularExpression integer(QStringLiteral(R"(\bINTEGER\b)"), caseless);
    static const QRegularExpression nocase(QStringLiteral(R"(\bCOLLATE\s+NOCASE\b)"), caseless);
    // A key given is kept (copies, fixed item numbers); one left out is drawn from the identity.
    statement.replace(numberedKey, QStringLiteral(R"(\1 )") +
                                       sqlFragment(SqlFragment::NumberedKey, SqlDialect::Postgres));
    statement.replace(strict, QStringLiteral(")"));
    statement.replace(integer, QStringLiteral("bigint"));
    statement.replace(nocase, QStringLiteral("COLLATE ") +
                                  sqlFragment(SqlFragment::PinyinCollation, SqlDialect::Postgres));
    return statement;
}

// The schema's triggers only refuse: "CREATE TRIGGER name BEFORE event ON table [WHEN
// condition] BEGIN SELECT RAISE(ABORT, 'message'); END". The server runs a trigger through a
// function; the condition and the message stay as written, since both engines read them alike.
// A trigger of another form is passed on as it is, and the server refuses it when the
// database is set up, so that no form goes untranslated unnoticed. The server can also empty
// a table by TRUNCATE, which row triggers do not see: a table guarded against deletion has it
// run as a DELETE first, so that the same refusal applies.
QStringList serverTrigger(const QString &statement) {
    static const QRegularExpression refusal(
        QStringLiteral(R"(^CREATE\s+TRIGGER\s+(\w+)\s+BEFORE\s+(INSERT|UPDATE|DELETE)\s+ON\s+(\w+))"
                       R"(\s+(?:WHEN\s+(.*\S)\s+)?BEGIN\s+SELECT\s+RAISE\s*\(\s*ABORT\s*,\s*)"
                       R"(('(?:[^']|'')*')\s*\)\s*;\s*END$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = refusal.match(statement);
    if (!match.hasMatch())
        return {statement};
    const QString name = match.captured(1);
    const QString event = match.captured(2).toUpper();
    const QString condition =
        match.captured(4).isEmpty() ? QStringLiteral("true") : match.captured(4);
    const QString table = match.captured(3);
    const bool deletion = event == QLatin1String("DELETE");
    QStringList statements{
        QStringLiteral("CREATE FUNCTION %1() RETURNS trigger LANGUAGE plpgsql AS $refusal$ "
                       "BEGIN IF %2 THEN RAISE EXCEPTION USING MESSAGE = %3; END IF; "
                       "RETURN %4; END $refusal$")
            .arg(name, condition, match.captured(5),
                 deletion ? QStringLiteral("OLD") : QStringLiteral("NEW")),
        QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW EXECUTE FUNCTION %1()")
            .arg(name, event, table)};
    if (deletion)
        statements << QStringLiteral(
                          "CREATE FUNCTION %1_truncate() RETURNS trigger LANGUAGE plpgsql AS "
                          "$refusal$ BEGIN DELETE FROM %2; RETURN NULL; END $refusal$")
                          .arg(name, table)
                   << QStringLiteral("CREATE TRIGGER %1_truncate BEFORE TRUNCATE ON %2 FOR EACH "
                                     "STATEMENT EXECUTE FUNCTION %1_truncate()")
                          .arg(name, table);
    return statements;
}

} // namespace

QStringList serverStatementsAfterVersion(int version) {
    static const QRegularExpression pragma(QStringLiteral(R"(^PRAGMA\b)"), caseless);
    static const QRegularExpression table(QStringLiteral(R"(^CREATE\s+TABLE\b)"), caseless);
    static const QRegularExpression trigger(QStringLiteral(R"(^CREATE\s+TRIGGER\b)"), caseless);
    QStringList statements;
    if (version == 0)
        statements << QStringLiteral("CREATE TABLE %1 (application_id integer NOT NULL, "
                                     "version integer NOT NULL)")
                          .arg(serverLayoutTable)
                   << QStringLiteral("INSERT INTO %1 VALUES (%2, 0)")
                          .arg(serverLayoutTable)
                          .arg(payrollFileMark);
    for (const QString &statement : statementsAfterVersion(version)) {
        if (statement.contains(pragma))
            continue;
        if (statement.contains(trigger))
            statements << serverTrigger(statement);
        else
            statements << (statement.contains(table) ? serverTable(statement) : statement);
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
    for (const QString &statement : schemaStatements())
        if (statement.contains(worksheet))
            statements << (statement.contains(createTable)
                               ? serverTable(statement).replace(createTable,
                                                                QStringLiteral("CREATE TEMP TABLE"))
                               : statement);
    return statements;
}

QString numberedKeyOf(const QString &table) {
    for (const auto &[numbered, key] : numberedKeys())
        if (numbered.compare(table, Qt::CaseInsensitive) == 0)
            return key;
    return {};
}

QStringList serverSequencesPastKeys() {
    QStringList statements;
    for (const auto &[table, key] : numberedKeys())
        statements << sequencePastKeys(table, key);
    return statements;
}

QString triggerNumberingFound() {
    return QStringLiteral("to_regproc('%1') IS NOT NULL").arg(triggerNumbering);
}

QStringList serverUpgradeStatements(int version) {
    // The lock makes a second program reaching the database at the same moment wait and then
    // find the keys already converted, instead of converting them twice.
    QStringList conversion;
    for (const auto &[table, key] : numberedKeys())
        // A table of a layout later than the database's is created with its identity afterwards.
        conversion << QStringLiteral("IF to_regclass('%1') IS NOT NULL THEN ALTER TABLE %1 ALTER "
                                     "COLUMN %2 ADD GENERATED BY DEFAULT AS IDENTITY; PERFORM %3; "
                                     "END IF;")
                          .arg(table, key, sequencePastKeys(table, key).mid(7));
    QStringList statements{
        QStringLiteral("LOCK TABLE %1 IN EXCLUSIVE MODE").arg(serverLayoutTable),
        QStringLiteral("DO $convert$ BEGIN IF %1 THEN DROP FUNCTION %2() CASCADE; "
                       "%3 END IF; END $convert$")
            .arg(triggerNumberingFound(), triggerNumbering, conversion.join(QChar(' ')))};
    if (version < schemaVersion)
        statements << serverStatementsAfterVersion(version);
    return statements;
}
