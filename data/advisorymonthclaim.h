#pragma once

#include "monthclaim.h"

class PostgresEngine;

// Month claims of clerks sharing a database server: a session-level advisory lock on the pair
// (the program's mark, the month key read as a number). The server keeps it through
// transactions, rolled back or not, and drops it when the connection ends, however it ends.
class AdvisoryMonthClaim : public MonthClaim {
public:
    explicit AdvisoryMonthClaim(PostgresEngine &engine) : m_engine(engine) {}
    ~AdvisoryMonthClaim() override;
    AdvisoryMonthClaim(const AdvisoryMonthClaim &) = delete;
    AdvisoryMonthClaim &operator=(const AdvisoryMonthClaim &) = delete;

    bool claim(const QString &month) override;
    void release() override;
    // The connection that held the claim is gone, and the claim with it.
    void forget() { m_held.clear(); }

private:
    // Runs pg_try_advisory_lock or pg_advisory_unlock on `month`; what the server answered.
    bool lockCall(const char *function, const QString &month);

    PostgresEngine &m_engine;
    QString m_held;
};
