#pragma once

#include "bankpayments.h"
#include "bankprofile.h"

#include <QByteArray>
#include <QString>
#include <stdexcept>

// A payment file that would reach the bank other than as the month says: a text its encoding
// cannot carry, a value wider than its field, a line break or separator inside a value of a
// text without quoting. The text says which and whose, in Chinese; nothing has been written.
class BankFileRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The whole text file `profile` makes of the batch's payable employees, in the profile's
// encoding, lines ending in CR LF. Throws BankFileRefused.
QByteArray bankFileText(const BankProfile &profile, const BankBatch &batch);

// Writes the batch's payable employees to `path` in the profile's layout, beside and renamed
// when complete, and returns the path written. Throws BankFileRefused before anything is
// written, ExportError when the file cannot be written (nothing is left behind).
QString writeBankFile(const QString &path, const BankProfile &profile, const BankBatch &batch);

// The file name offered for the batch: "银行代发_202603_通用Excel格式.xlsx".
QString suggestedBankFileName(const BankProfile &profile, const QString &month);
