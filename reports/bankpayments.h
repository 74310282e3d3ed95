#pragma once

#include "currency.h"

#include <QString>
#include <QStringList>
#include <vector>

class Connection;

// One employee's net pay of a saved month with what a bank may ask for beside it.
struct BankPayment {
    qint64 employee = 0;
    QString name;
    QString account;
    QString bank;
    QString document;
    QString mobile;
    Currency amount; // to the fen
};

// A saved month's net pay as the bank is to pay it. Only an employee with an account and pay
// above zero is paid; the others are listed, so that the clerk sees who the file leaves out.
struct BankBatch {
    QString month;
    std::vector<BankPayment> payable;
    std::vector<BankPayment> withoutAccount;
    std::vector<BankPayment> notPositive; // zero or negative net pay
    Currency total() const;
};

// The months saved in GZB, latest first.
QStringList savedMonths(Connection &connection);

// `month`'s employees in the order of their numbers. Throws DbError.
BankBatch readBankBatch(Connection &connection, const QString &month);
