#pragma once

#include "currency.h"
#include "percentage.h"

#include <optional>

// A percentage item (an insurance or the housing fund): the rate of the employee's base, the
// base first brought up to the floor and down to the cap where the item has them.
struct ContributionRule {
    Percentage rate;
    std::optional<Currency> floor;
    std::optional<Currency> cap;
    bool operator==(const ContributionRule &) const = default;
};

Currency contribution(const ContributionRule &rule, Currency base);
