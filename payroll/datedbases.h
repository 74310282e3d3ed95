#pragma once

#include "currency.h"
#include "datedsetting.h"

#include <QString>
#include <map>
#include <optional>
#include <vector>

class Connection;

// What an employee's contributions rest on besides the rates: the two bases and the other
// deductions from taxable income each month, from a month on.
struct EmployeeBases {
    Currency socialInsurance;
    Currency housingFund;
    Currency otherDeductions;
    bool operator==(const EmployeeBases &) const = default;
};

using DatedBases = DatedSetting<EmployeeBases>;

// The changes of every employee that has some (all of them, or only `employee`).
std::map<qint64, std::vector<Dated<EmployeeBases>>>
readBaseChanges(Connection &connection, std::optional<qint64> employee = std::nullopt);

// Replaces `employee`'s changes by `changes`. The caller holds the transaction.
void storeBaseChanges(Connection &connection, qint64 employee,
                      const std::vector<Dated<EmployeeBases>> &changes);

// Whether GZB holds a month of `employee`: its bases have been in force for a stored month.
bool hasStoredMonths(Connection &connection, qint64 employee);
