#pragma once

#include "currency.h"

#include <QString>
#include <map>
#include <optional>

class Connection;

// An employee's tax relief (减免税额), by month key: what lowers the tax withheld that month,
// counted over the year like the tax itself.
using TaxRelief = std::map<QString, Currency>;

Currency reliefIn(const TaxRelief &relief, const QString &month);

// The relief of every employee who has some (or of `employee`), by employee number.
std::map<qint64, TaxRelief> readTaxRelief(Connection &connection, std::optional<qint64> employee);
// Replaces `employee`'s relief; the caller holds the transaction.
void storeTaxRelief(Connection &connection, qint64 employee, const TaxRelief &relief);
