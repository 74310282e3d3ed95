#include "serversetup.h"

#include "dberror.h"
#include "schemastatements.h"
#include "serverlink.h"
#include "serverschema.h"

#include <QRegularExpression>
#include <QScopeGuard>
#include <libpq-fe.h>

namespace {

// The tables the schema creates, the layout's own among them.
QStringList payrollTables() {
    static const QRegularExpression table(QStringLiteral(R"(^CREATE\s+TABLE\s+(\w+))"),
                                          QRegularExpression::CaseInsensitiveOption);
    QStringList tables{QString::fromLatin1(serverLayoutTable)};
    for (const QString &statement : schemaStatements())
        if (const QRegularExpressionMatch match = table.match(statement); match.hasMatch())
            tables << match.captured(1);
    return tables;
}

int tableCount(pg_conn *connection) {
    const ServerResult result =
        askServer(connection, QStringLiteral("select count(*) from pg_catalog.pg_tables where "
                                             "schemaname = current_schema()"));
    result.checked();
    return std::atoi(PQgetvalue(result.get(), 0, 0));
}

} // namespace

void createServerStructure(const DatabaseAddress &address) {
    pg_conn *connection = connectToServer(address);
    const auto finish = qScopeGuard([connection] { PQfinish(connection); });
    if (const int tables = tableCount(connection); tables > 0)
        throw DbError(
            QStringLiteral("the database %1 already holds %2 table(s); it is left as it is")
                .arg(address.shownName())
                .arg(tables));
    runOnServer(connection, QStringLiteral("BEGIN"));
    for (const QString &statement : serverStatementsAfterVersion(0))
        runOnServer(connection, statement);
    runOnServer(connection, QStringLiteral("COMMIT"));
}

void removeServerStructure(const DatabaseAddress &address) {
    pg_conn *connection = connectToServer(address);
    const auto finish = qScopeGuard([connection] { PQfinish(connection); });
    runOnServer(connection, QStringLiteral("DROP TABLE IF EXISTS %1 CASCADE")
                                .arg(payrollTables().join(QStringLiteral(", "))));
}
