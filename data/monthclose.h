#pragma once

#include <QString>

class Connection;

// Closing a month (结账) makes its salaries final: the database itself refuses every change to
// the month's rows in GZB, from this program, another copy or any other tool, until the month
// is reopened (反结账) with a reason. Both leave a row in the audit trail.

bool isMonthClosed(Connection &connection, const QString &month);

// What the clerk reads when a change meets the closed `month`: "2026年11月已结账……".
QString closedMonthMessage(const QString &month);

// Throws DbError with closedMonthMessage when `month` is closed: run inside the transaction of
// a change, ahead of it, so that the clerk reads which month stopped it.
void requireMonthOpen(Connection &connection, const QString &month);

enum class MonthClosing {
    Closed,
    AlreadyClosed,
    NotSaved,      // GZB holds no row of the month
    HeldElsewhere, // another copy is entering or deleting the month
};
// Closes a saved month that nobody is entering: the month is claimed meanwhile, as a save
// claims it, and given up again. Throws DbError.
MonthClosing closeMonth(Connection &connection, const QString &month);

enum class MonthReopening { Reopened, NotClosed, NoReason };
// Reopens a closed month; `reason` (trimmed) must say why. Throws DbError.
MonthReopening reopenMonth(Connection &connection, const QString &month, const QString &reason);
