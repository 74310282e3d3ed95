#pragma once

#include <QString>

// Rows with equal sort terms come in whatever order an engine happens to produce: on the file
// the order of an index it chose, on a server any order at all. Every listing and report is
// therefore given a total order, the same on both engines, by completing the statement as the
// windows wrote it:
// - an order by of a grouped select gains the grouping terms it lacks;
// - any other order by gains the columns of its first table's key it lacks, in the key's
//   order (GZB: month, then employee number), which is the order the file gave such rows
//   before; a join is expected to add at most one row of another table to each of its rows;
// - a plain listing of one table without an order gets its numbered key's order, SQLite's own.
// A select of distinct rows, a union, and anything but a select stay as written.
QString withTotalOrder(const QString &sql);

// The table a select's rows come from first, the name the statement calls it by (its alias,
// else its own name), and whether other tables are joined to it; the names are empty when the
// rows come from a sub-query or no table.
struct StatementSource {
    QString table;
    QString name;
    bool joined = false;
};
StatementSource sourceOf(const QString &sql);
