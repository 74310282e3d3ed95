#include "sqliteworksheet.h"

#include "dberror.h"
#include "filemessages.h"
#include "schemastatements.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

const QString worksheet = QStringLiteral("Temp_GZB");

// The schema's statements that create the worksheet table and its indexes, turned into ones
// that create them in the connection's TEMP schema. Index names are one name space across a
// connection's schemas (VACUUM INTO, which rebuilds the file's indexes, would meet the TEMP
// one), so the worksheet's own indexes get names of their own.
QStringList temporaryWorksheetStatements() {
    static const QRegularExpression table(
        QStringLiteral(R"(^CREATE\s+TABLE\s+%1\s*\()").arg(worksheet),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression index(
        QStringLiteral(R"(^(CREATE\s+(?:UNIQUE\s+)?INDEX\s+)(\w+)(\s+ON\s+%1\b))").arg(worksheet),
        QRegularExpression::CaseInsensitiveOption);
    QStringList statements;
    for (QString statement : schemaStatements()) {
        if (statement.contains(table))
            statements << statement.replace(
                QRegularExpression(QStringLiteral(R"(^CREATE\s+TABLE)"),
                                   QRegularExpression::CaseInsensitiveOption),
                QStringLiteral("CREATE TEMP TABLE"));
        else if (statement.contains(index))
            statements << statement.replace(index, QStringLiteral(R"(\1temp.connection_\2\3)"));
    }
    if (statements.isEmpty())
        throw DbError(QStringLiteral("程序中没有工作表的定义。"));
    return statements;
}

} // namespace

void createConnectionWorksheet(QSqlDatabase &database) {
    static const QStringList statements = temporaryWorksheetStatements();
    for (const QString &statement : statements) {
        QSqlQuery query(database);
        if (!query.exec(statement))
            throw sqliteFailure(database, query.lastError());
    }
}
