#pragma once

#include <QString>

// The text of a date box as stored ("yyyy-mm-dd", a one-digit month or day behind a blank).

// The text of a box nobody typed into: "    -  -  ".
bool isEmptyDateText(const QString &text);

// Whether the text is a real calendar date: "2005-02-28" and "2005- 2- 8" are, "2005-02-30"
// and a half-filled text are not.
bool isCalendarDate(const QString &text);
