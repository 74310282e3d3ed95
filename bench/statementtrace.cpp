#include "statementtrace.h"

#include <QScopeGuard>
#include <sqlite3.h>

namespace {

int record(unsigned, void *context, void *statement, void *text) {
    // Statements of triggers come as "-- ..." comments; they run as part of their statement.
    if (qstrncmp(static_cast<const char *>(text), "--", 2) == 0)
        return 0;
    char *expanded = sqlite3_expanded_sql(static_cast<sqlite3_stmt *>(statement));
    *static_cast<QStringList *>(context) << QString::fromUtf8(expanded);
    sqlite3_free(expanded);
    return 0;
}

} // namespace

QStringList traceStatements(sqlite3 *connection, const std::function<void()> &action) {
    QStringList statements;
    sqlite3_trace_v2(connection, SQLITE_TRACE_STMT, record, &statements);
    const auto stop =
        qScopeGuard([connection] { sqlite3_trace_v2(connection, 0, nullptr, nullptr); });
    action();
    return statements;
}
