#pragma once

#include "currency.h"
#include "datedbases.h"
#include "taxrelief.h"
#include "yearswitches.h"

#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

class Connection;

// What the tax and contributions of one employee depend on besides the month's amounts.

// A special additional deduction (子女教育, 住房租金 ...): a monthly amount from one month
// through another (none: still running).
struct SpecialDeduction {
    QString kind;
    Currency monthly;
    QString fromMonth;
    QString throughMonth; // empty: no end
    bool operator==(const SpecialDeduction &) const = default;
};

// Figures of the part of a year before the organisation used the program.
struct OpeningFigures {
    QString year; // "2026"; empty: none
    Currency income;
    Currency preTaxDeductions;
    Currency specialDeductions;
    Currency taxWithheld;
    int months = 0;
    bool operator==(const OpeningFigures &) const = default;
};

struct EmployeeProfile {
    DatedBases bases;
    OpeningFigures opening;
    std::vector<SpecialDeduction> specialDeductions;
    YearChoices years;
    TaxRelief taxRelief;

    // The special deductions that run in `month`.
    Currency specialDeductionsIn(const QString &month) const;
    bool operator==(const EmployeeProfile &) const = default;
};

// The profiles of every employee who has one (all of them, or only `employee`).
std::map<qint64, EmployeeProfile> readProfiles(Connection &connection,
                                               std::optional<qint64> employee = std::nullopt);

// `employee`'s profile, if there is one.
std::optional<EmployeeProfile> readProfile(Connection &connection, qint64 employee);

// Replaces `employee`'s profile by `profile`, in one transaction; false, and nothing stored,
// when another clerk has changed it since it was read as `asRead` (none: there was none).
bool storeProfile(Connection &connection, qint64 employee,
                  const std::optional<EmployeeProfile> &asRead, const EmployeeProfile &profile);

// The special deduction kinds the dialogs offer.
const QStringList &specialDeductionKinds();
