#pragma once

#include "currency.h"
#include "taxlaw.h"

#include <QString>
#include <map>
#include <optional>
#include <vector>

class Connection;

// What an employee's contributions rest on besides the rates: the two bases and the other
// deductions from taxable income each month. A change takes effect from a month, as a row of
// its own, so that what was in force for a stored month stays as it was.
struct EmployeeBases {
    Currency socialInsurance;
    Currency housingFund;
    Currency otherDeductions;
    bool operator==(const EmployeeBases &) const = default;
};

struct DatedBases {
    EmployeeBases initial;                     // in force before the first change
    std::vector<Dated<EmployeeBases>> changes; // in rising order of month, one a month

    // The bases in force in `month`: the latest change not after it, else the initial ones.
    const EmployeeBases &in(const QString &month) const;
    // The bases in force from the latest change on.
    const EmployeeBases &latest() const;
    // Sets the bases from `month` on (empty: the initial ones), replacing a change of that
    // same month.
    void setFrom(const QString &month, const EmployeeBases &bases);
    bool operator==(const DatedBases &other) const;
};

// The changes of every employee that has some (all of them, or only `employee`).
std::map<qint64, std::vector<Dated<EmployeeBases>>>
readBaseChanges(Connection &connection, std::optional<qint64> employee = std::nullopt);

// Replaces `employee`'s changes by `changes`. The caller holds the transaction.
void storeBaseChanges(Connection &connection, qint64 employee,
                      const std::vector<Dated<EmployeeBases>> &changes);

// Whether GZB holds a month of `employee`: its bases have been in force for a stored month.
bool hasStoredMonths(Connection &connection, qint64 employee);
