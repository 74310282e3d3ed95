#include "contribution.h"

#include <algorithm>

Currency contribution(const ContributionRule &rule, Currency base) {
    if (rule.floor)
        base = std::max(base, *rule.floor);
    if (rule.cap)
        base = std::min(base, *rule.cap);
    return rule.rate.of(base);
}
