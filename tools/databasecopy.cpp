#include "databasecopy.h"

#include "connection.h"
#include "currency.h"
#include "databasesetup.h"
#include "dberror.h"
#include "field.h"
#include "postgresengine.h"
#include "query.h"
#include "salarycolumns.h"
#include "schemastatements.h"
#include "schemaversion.h"
#include "servermessages.h"
#include "serverschema.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <cstdlib>
#include <libpq-fe.h>
#include <vector>

namespace DatabaseSetup {
namespace {

// The payroll's tables, as the schema creates them; the file's own worksheet table is never
// used (each connection has its own) and stays behind.
QStringList copiedTables() {
    static const QRegularExpression table(QStringLiteral(R"(^CREATE\s+TABLE\s+(\w+))"),
                                          QRegularExpression::CaseInsensitiveOption);
    QStringList tables;
    for (const QString &statement : schemaStatements())
        if (const QRegularExpressionMatch match = table.match(statement);
            match.hasMatch() &&
            match.captured(1).compare(QStringLiteral("Temp_GZB"), Qt::CaseInsensitive) != 0)
            tables << match.captured(1);
    return tables;
}

void open(Query &query, const QString &sql) {
    query.clearSql();
    query.addLine(sql);
    query.open();
}

// One value as COPY's text format writes it.
void appendCopyValue(QByteArray &line, const Field &field, bool integer) {
    if (field.isNull()) {
        line += "\\N";
        return;
    }
    if (integer) {
        // Amounts as stored, in ten-thousandths: read as yuan they would lose their digits.
        line += QByteArray::number(field.asStoredInteger());
        return;
    }
    for (const char c : field.asString().toUtf8()) {
        switch (c) {
        case '\\':
            line += "\\\\";
            break;
        case '\t':
            line += "\\t";
            break;
        case '\n':
            line += "\\n";
            break;
        case '\r':
            line += "\\r";
            break;
        default:
            line += c;
        }
    }
}

// Streams every row of `table` from the file into the server's table of the same name.
void copyTable(Connection &fileConnection, pg_conn *server, const QString &table) {
    Query file(fileConnection);
    open(file, QStringLiteral("select * from %1").arg(table));
    QStringList columns;
    for (int column = 0; column < file.columnCount(); ++column)
        columns << file.columnName(column);
    runOnServer(server, QStringLiteral("DELETE FROM %1").arg(table));
    const ServerResult started = askServer(
        server, QStringLiteral("COPY %1 (%2) FROM STDIN").arg(table, columns.join(QChar(','))));
    if (PQresultStatus(started.get()) != PGRES_COPY_IN)
        started.checked();
    // Which columns hold numbers, from the file's own declaration.
    Query declared(fileConnection);
    open(declared, QStringLiteral("select name, type from pragma_table_info('%1')").arg(table));
    QSet<QString> integers;
    for (declared.first(); !declared.eof(); declared.next())
        if (declared.field(QStringLiteral("type"))
                .asString()
                .compare(QStringLiteral("INTEGER"), Qt::CaseInsensitive) == 0)
            integers.insert(declared.field(QStringLiteral("name")).asString().toLower());
    QByteArray chunk;
    const auto send = [&] {
        if (PQputCopyData(server, chunk.constData(), int(chunk.size())) != 1)
            throw serverFailure(server, nullptr);
        chunk.clear();
    };
    for (int row = 0; row < file.recordCount(); ++row) {
        for (int column = 0; column < columns.size(); ++column) {
            if (column > 0)
                chunk += '\t';
            appendCopyValue(chunk, file.cell(row, column),
                            integers.contains(columns[column].toLower()));
        }
        chunk += '\n';
        if (chunk.size() > (1 << 20))
            send();
    }
    send();
    awaitAnswer(server, PQputCopyEnd(server, nullptr)).checked();
}

// The amount columns, in the order a month's sums list them.
QStringList amountColumns() {
    QStringList columns;
    for (const QString &kind : {SalaryColumns::earning, SalaryColumns::deduction})
        for (int slot = 1; slot <= SalaryColumns::itemsPerKind; ++slot)
            columns << SalaryColumns::itemColumn(kind, slot);
    return columns;
}

// A month's figure: its rows, and the sum of every amount column that is not 0, exactly, in
// yuan, by the column's name.
QString monthFigure(const QString &month, const std::vector<std::int64_t> &countAndSums) {
    const QStringList columns = amountColumns();
    QStringList sums;
    for (qsizetype column = 0; column < columns.size(); ++column)
        if (const std::int64_t units = countAndSums.at(std::size_t(column) + 1); units != 0)
            sums << columns[column] + QChar('=') + Currency::fromUnits(units).toPlainText();
    return QStringLiteral("GZB %1: %2 rows; sums in yuan: %3")
        .arg(month)
        .arg(countAndSums.at(0))
        .arg(sums.isEmpty() ? QStringLiteral("all 0") : sums.join(QChar(' ')));
}

// The figures both sides must agree on, each as "what: figure".
QStringList figuresOfFile(Query &file, const QStringList &tables, const QString &monthSums) {
    QStringList figures;
    for (const QString &table : tables) {
        open(file, QStringLiteral("select count(*) as n from %1").arg(table));
        figures << QStringLiteral("%1 rows: %2")
                       .arg(table)
                       .arg(file.field(QStringLiteral("n")).asInteger());
    }
    open(file, monthSums);
    for (file.first(); !file.eof(); file.next()) {
        std::vector<std::int64_t> countAndSums;
        for (int column = 1; column < file.columnCount(); ++column)
            countAndSums.push_back(file.cell(file.currentRow(), column).asInteger());
        figures << monthFigure(file.field(QStringLiteral("ny")).asString(), countAndSums);
    }
    return figures;
}

QStringList figuresOfServer(pg_conn *server, const QStringList &tables, const QString &monthSums) {
    QStringList figures;
    const auto rows = [server](const QString &sql) {
        auto result = std::make_unique<ServerResult>(askServer(server, sql));
        result->checked();
        return result;
    };
    for (const QString &table : tables) {
        const auto count = rows(QStringLiteral("select count(*) from %1").arg(table));
        figures << QStringLiteral("%1 rows: %2")
                       .arg(table, QString::fromUtf8(PQgetvalue(count->get(), 0, 0)));
    }
    const auto months = rows(monthSums);
    for (int row = 0; row < PQntuples(months->get()); ++row) {
        std::vector<std::int64_t> countAndSums;
        for (int column = 1; column < PQnfields(months->get()); ++column)
            countAndSums.push_back(
                std::strtoll(PQgetvalue(months->get(), row, column), nullptr, 10));
        figures << monthFigure(QString::fromUtf8(PQgetvalue(months->get(), row, 0)), countAndSums);
    }
    return figures;
}

// Every month's count and the sum of every amount column, in month order.
QString monthSumsStatement() {
    QStringList sums{QStringLiteral("count(*)")};
    for (const QString &column : amountColumns())
        sums << QStringLiteral("coalesce(sum(%1),0)").arg(column);
    return QStringLiteral("select ny, %1 from GZB group by ny order by ny")
        .arg(sums.join(QChar(',')));
}

} // namespace

CopyReport copyToServer(const QString &folder, const DatabaseAddress &server) {
    const QString path = QDir(folder).absoluteFilePath(QStringLiteral("GZDB.mdb"));
    if (!QFileInfo::exists(path))
        throw SetupError(
            QStringLiteral("%1 does not exist").arg(QDir::toNativeSeparators(path)).toStdString());
    CopyReport report;
    try {
        Connection file(path);
        Query reading(file);
        open(reading, QStringLiteral("pragma user_version"));
        if (reading.cell(0, 0).asInteger() != schemaVersion)
            throw DbError(QStringLiteral("%1 has database version %2; open it once with this "
                                         "program to bring it to version %3 first")
                              .arg(QDir::toNativeSeparators(path))
                              .arg(reading.cell(0, 0).asInteger())
                              .arg(schemaVersion));
        pg_conn *connection = connectToServer(server);
        const auto finish = qScopeGuard([connection] { PQfinish(connection); });
        runOnServer(connection, QStringLiteral("BEGIN"));
        const ServerResult existing =
            askServer(connection,
                      QStringLiteral("select count(*) from pg_catalog.pg_tables where schemaname = "
                                     "current_schema()"));
        existing.checked();
        if (std::atoi(PQgetvalue(existing.get(), 0, 0)) > 0)
            throw DbError(
                QStringLiteral("the database %1 already holds tables; it is left as it is")
                    .arg(server.shownName()));
        for (const QString &statement : serverStatementsAfterVersion(0))
            runOnServer(connection, statement);
        const QStringList tables = copiedTables();
        for (const QString &table : tables)
            copyTable(file, connection, table);
        for (const QString &statement : serverSequencesPastKeys())
            runOnServer(connection, statement);
        const QString monthSums = monthSumsStatement();
        const QStringList fromFile = figuresOfFile(reading, tables, monthSums);
        const QStringList onServer = figuresOfServer(connection, tables, monthSums);
        for (qsizetype i = 0; i < std::max(fromFile.size(), onServer.size()); ++i) {
            const QString left = fromFile.value(i);
            const QString right = onServer.value(i);
            const bool same = left == right;
            report.identical = report.identical && same;
            report.lines << (same ? QStringLiteral("same  %1").arg(left)
                                  : QStringLiteral("DIFF  file %1 | server %2").arg(left, right));
        }
        runOnServer(connection,
                    report.identical ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK"));
    } catch (const DbError &failure) {
        throw SetupError(
            QStringLiteral("%1 was not copied to %2: %3")
                .arg(QDir::toNativeSeparators(path), server.shownName(), failure.text())
                .toStdString());
    }
    return report;
}

} // namespace DatabaseSetup
