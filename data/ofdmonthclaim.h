#pragma once

#include "monthclaim.h"

// Month claims of copies working on one database file: a write lock on one byte of the
// database file itself, far past the bytes the engine locks, at an offset given by the month
// key read as a number (202610 for October 2026). The locks are open-file-description locks,
// which the kernel drops when the description is closed or the process ends, and which,
// unlike classic record locks, also keep apart two connections of one process. Held on the
// database file, a claim cannot be lost to a file beside it being removed or made anew: only
// the file whose months are claimed can carry the claims.
class OfdMonthClaim : public MonthClaim {
public:
    explicit OfdMonthClaim(QString databasePath);
    ~OfdMonthClaim() override;
    OfdMonthClaim(const OfdMonthClaim &) = delete;
    OfdMonthClaim &operator=(const OfdMonthClaim &) = delete;

    bool claim(const QString &month) override;
    void release() override;

private:
    // The database file, opened on the first claim and kept open; -1 when the file cannot be
    // written, so that nothing can be saved to claim a month for.
    int descriptor();

    QString m_databasePath;
    int m_descriptor = -1;
    bool m_opened = false;
    QString m_held;
};
