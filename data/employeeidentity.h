#pragma once

#include <QString>
#include <map>
#include <optional>

class Connection;

// An employee's identity document, bank account and mobile number (YGZJ). Empty texts are
// values not given.
struct EmployeeIdentity {
    QString documentKind;
    QString documentNumber;
    QString nationality;
    QString bank;
    QString account;
    QString mobile;
    bool operator==(const EmployeeIdentity &) const = default;
};

// What an employee without a stored row has: a resident identity card of China, no number.
EmployeeIdentity noIdentity();

// The identities of every employee who has one (all of them, or only `employee`).
std::map<qint64, EmployeeIdentity> readIdentities(Connection &connection,
                                                  std::optional<qint64> employee = std::nullopt);
std::optional<EmployeeIdentity> readIdentity(Connection &connection, qint64 employee);

struct IdentityStore {
    enum class Outcome { Stored, ChangedMeanwhile, NumberTaken };
    Outcome outcome = Outcome::Stored;
    QString holder; // NumberTaken: the name of the employee who has the number
};

// Replaces `employee`'s identity by `identity` in one transaction. Nothing is stored when
// another clerk has changed it since it was read as `asRead` (none: there was none), or when
// the document number is another employee's.
IdentityStore storeIdentity(Connection &connection, qint64 employee,
                            const std::optional<EmployeeIdentity> &asRead,
                            const EmployeeIdentity &identity);
