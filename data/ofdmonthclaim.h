#pragma once

#include "monthclaim.h"

// Month claims of copies working on one database file: a write lock on one byte of a lock
// file beside the database ("GZDB.mdb" gives "GZDB.mdb.months"), at the offset of the month
// key read as a number (202610 for October 2026). The locks are open-file-description locks,
// which the kernel drops when the file is closed or the process ends, and which, unlike
// classic record locks, also keep apart two connections of one process. The file is not the
// one copies lock at start-up, so on no file system can a month claim meet that lock.
class OfdMonthClaim : public MonthClaim {
public:
    explicit OfdMonthClaim(QString databasePath);
    ~OfdMonthClaim() override;
    OfdMonthClaim(const OfdMonthClaim &) = delete;
    OfdMonthClaim &operator=(const OfdMonthClaim &) = delete;

    bool claim(const QString &month) override;
    void release() override;

private:
    // The lock file, opened on the first claim; -1 when it cannot be written and the database
    // cannot be either, so that nothing can be saved to claim a month for.
    int descriptor();

    QString m_lockPath;
    QString m_databasePath;
    int m_descriptor = -1;
    bool m_opened = false;
    QString m_held;
};
