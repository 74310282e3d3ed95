#pragma once

#include "contribution.h"
#include "taxlaw.h"

#include <map>
#include <optional>
#include <vector>

class Connection;

// The changes of a percentage item's rate, floor and cap from a month on, of every item that
// has some (all of them, or only `item`).
std::map<qint64, std::vector<Dated<ContributionRule>>>
readRateChanges(Connection &connection, std::optional<qint64> item = std::nullopt);

// Replaces `item`'s changes by `changes`. The caller holds the transaction.
void storeRateChanges(Connection &connection, qint64 item,
                      const std::vector<Dated<ContributionRule>> &changes);

// Whether GZB holds any month: the rates in force then were used for it.
bool anyStoredMonth(Connection &connection);
