#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// An employee's identity document, bank account and mobile number as the tax client and the
// bank accept them. Each check gives the clerk's reading of what is wrong, none when the value
// may be stored; each value is stored as its normal form gives it.

// 居民身份证, the kind whose number is checked digit by digit.
QString residentIdentityCard();
// The kinds of document the tax client lists, the resident identity card first.
const QStringList &identityDocumentKinds();

// The check character of a resident identity card whose first 17 digits are `digits`.
QChar residentCardCheckCharacter(const QString &digits);

// The number trimmed, its check character in upper case.
QString normalDocumentNumber(const QString &number);
// `number` (in its normal form) as a document of `kind` of an employee born on `birthDate`
// (the date box's text, "1982- 5-20"; empty: not known) of sex `sex` ("男", "女"; empty: not
// known). A resident identity card has 18 characters with the ISO 7064 MOD 11-2 check
// character last and carries the birth date and, in its 17th digit, the sex.
std::optional<QString> documentNumberProblem(const QString &kind, const QString &number,
                                             const QString &birthDate, const QString &sex);

// The account number without the blanks a clerk types between groups of digits.
QString normalAccountNumber(const QString &account);
std::optional<QString> accountNumberProblem(const QString &account);

QString normalMobileNumber(const QString &mobile);
std::optional<QString> mobileNumberProblem(const QString &mobile);
