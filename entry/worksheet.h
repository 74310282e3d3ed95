#pragma once

#include <QString>

// The statements that move a month between GZB and the worksheet Temp_GZB, the connection's
// own. They run on the shared queries one after the other; the caller decides what must land
// together. A month key outside the months the program keeps is refused before any statement.
namespace Worksheet {

// What GZB holds of the month being prepared.
enum class MonthStatus {
    Unread,   // not read yet, or its reading failed: nothing may be prepared on a guess
    FirstUse, // GZB holds no month at all
    Entered,  // GZB holds the month: it is adjusted
    Carried,  // GZB holds other months: the month starts from the last entered one
};

void empty();

// Fills the emptied worksheet with one row per employee for `month`: every active employee
// on first use; a copy of the stored month when it is entered; otherwise the active
// employees' rows of `lastMonth`, the items that are not carried over reset, and a new row
// for each active employee who had none.
void fill(MonthStatus status, const QString &month, const QString &lastMonth);

// Replaces `month` in GZB by the worksheet, deleting the stored rows first when it is entered.
// False, with nothing changed, when the worksheet holds no row of a month GZB has rows of: a
// save never empties a stored month.
bool store(MonthStatus status, const QString &month);

// Deletes `month` from GZB.
void remove(const QString &month);

} // namespace Worksheet
