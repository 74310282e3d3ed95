#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class Connection;

// How a bank wants the month's net pay laid out in the file it imports: which fields, in which
// order, in which kind of file. Kept in the database, one row per profile and one per field.

enum class BankFileKind { Workbook, Separated, FixedWidth };
// The line with the count and the total of the payments, above or below them: in a workbook
// two numbers in the first two cells, in a text the two between the separator (a space in a
// fixed-width text without one).
enum class BankTotalLine { None, First, Last };

// What a field of a payment line holds. A constant is the same text on every line; the
// purpose is a text as well, kept apart because banks ask for it by that name.
enum class BankFieldKind { Account, Name, Amount, Bank, Document, Mobile, Purpose, Constant };

struct BankField {
    BankFieldKind kind = BankFieldKind::Account;
    QString caption;
    QString text;  // a purpose's or a constant's
    int width = 0; // in a fixed-width text: bytes of the file's encoding
    bool rightAligned = false;
    bool operator==(const BankField &) const = default;
};

struct BankProfile {
    qint64 id = 0; // none yet: 0
    QString name;
    BankFileKind kind = BankFileKind::Workbook;
    bool gbk = true; // text files: GBK, else UTF-8
    QString separator;
    QStringList headerLines;
    bool captionLine = true;
    BankTotalLine totalLine = BankTotalLine::None;
    std::vector<BankField> fields;
    bool operator==(const BankProfile &) const = default;
};

// The names fields go by, in the order BankFieldKind lists them.
const QStringList &bankFieldNames();
QString bankFieldName(BankFieldKind kind);
std::optional<BankFieldKind> bankFieldKindNamed(const QString &name);

// What is wrong with `profile` before it may be stored, in the clerk's words; empty when
// nothing is.
QString bankProfileProblem(const BankProfile &profile);

// Every profile, in the order they were made.
std::vector<BankProfile> readBankProfiles(Connection &connection);
std::optional<BankProfile> readBankProfile(Connection &connection, qint64 id);

// Stores `profile` as a new one and returns its number. Throws DbError, also when another
// profile has its name.
qint64 addBankProfile(Connection &connection, const BankProfile &profile);
// Replaces the stored profile `asRead.id` by `profile`, or deletes it, in one transaction;
// false, and nothing changed, when another clerk has changed or deleted it since it was read
// as `asRead`.
bool storeBankProfile(Connection &connection, const BankProfile &asRead,
                      const BankProfile &profile);
bool deleteBankProfile(Connection &connection, const BankProfile &asRead);
