#pragma once

#include <QString>

// The statements that move a month between GZB and the worksheet Temp_GZB, the connection's
// own. They run on the shared queries one after the other; the caller decides what must land
// together. A month key outside the months the program keeps is refused before any statement.
namespace Worksheet {

// Month status of the month being prepared.
inline const QString firstUse = QStringLiteral("0");
inline const QString entered = QStringLiteral("1");
inline const QString notEntered = QStringLiteral("2");

void empty();

// Fills the emptied worksheet with one row per employee for `month`: every active employee
// on first use; a copy of the stored month when it is entered; otherwise the active
// employees' rows of `lastMonth`, the items that are not carried over reset, and a new row
// for each active employee who had none.
void fill(const QString &status, const QString &month, const QString &lastMonth);

// Replaces `month` in GZB by the worksheet, deleting the stored rows first when it is entered.
// False, with nothing changed, when the worksheet holds no row of a month GZB has rows of: a
// save never empties a stored month.
bool store(const QString &status, const QString &month);

// Deletes `month` from GZB.
void remove(const QString &month);

// Whether GZB holds any row of `month`.
bool isStored(const QString &month);

} // namespace Worksheet
