#pragma once

#include <QString>

// Lets one connection at a time enter a month: a clerk who prepares a month claims it, and
// another copy of the program, on this machine or another, is refused the same month until
// the claim ends. A claim ends when released, when its connection closes, and when the
// program ends in any way, killed included: the operating system or the database server
// drops it by itself, so nothing a crash leaves behind can keep a month claimed.
//
// Each engine has its own kind; the data module knows which one its connection uses.
class MonthClaim {
public:
    virtual ~MonthClaim() = default;

    // Claims `month` (a month key) for this connection, giving up the month it held before,
    // if another. False, with nothing held, when another connection holds `month`. Claiming
    // the month already held succeeds. Throws DbError when the claim cannot be decided.
    virtual bool claim(const QString &month) = 0;

    // Gives up the month held, if any.
    virtual void release() = 0;
};
