#pragma once

#include <QDate>
#include <QString>

class Connection;

namespace DatabaseSetup {

// Fills a new, empty database with a small organisation: departments, a dozen employees
// (one of them deactivated), earning and deduction items with and without carry-over, and
// the salaries of the three months before `today`, so that every window has something to show.
void fillDemoData(Connection &connection, QDate today);

} // namespace DatabaseSetup
