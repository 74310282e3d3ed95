#pragma once

#include <QDate>
#include <QString>

class Connection;

namespace DatabaseSetup {

// The size of a made-up organisation for measuring the program at scale.
struct SyntheticSize {
    int employees = 0;
    int items = 0;  // salary items; the first half (rounded up) are earnings, the rest deductions
    int months = 0; // stored months, the last one the month before `today`
};

// Reads "EMPLOYEES,ITEMS,MONTHS"; throws SetupError for anything else or a size out of range
// (at least one employee and one item, at most 20 items of each kind, months may be 0).
SyntheticSize parseSyntheticSize(const QString &text);

// Fills a new, empty database with 20 departments, `employees` active employees, the items
// (every other one carried over) and a salary row for every employee in each stored month.
void fillSyntheticData(Connection &connection, const SyntheticSize &size, QDate today);

} // namespace DatabaseSetup
