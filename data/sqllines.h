#pragma once

#include "query.h"

#include <QStringList>

// Gives a shared query a new statement, line by line, as every window builds one: close,
// clear, add the lines. Parameters and the open or execute follow at the caller.
inline Query &setSql(Query &query, const QStringList &lines) {
    query.close();
    query.clearSql();
    for (const QString &line : lines)
        query.addLine(line);
    return query;
}
