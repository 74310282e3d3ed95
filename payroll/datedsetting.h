#pragma once

#include "taxlaw.h"

#include <QString>
#include <algorithm>
#include <vector>

// A setting the organisation changes from a month on: its value from the first, then each
// change as a row of its own, so that what was in force for a stored month stays as it was.
template <typename Value> struct DatedSetting {
    Value initial;                     // in force before the first change
    std::vector<Dated<Value>> changes; // in rising order of month, one a month

    // The value in force in `month`: the latest change not after it, else the initial one.
    const Value &in(const QString &month) const {
        const Value *inForce = &initial;
        for (const Dated<Value> &change : changes)
            if (change.fromMonth <= month)
                inForce = &change.value;
        return *inForce;
    }

    // The value in force from the latest change on.
    const Value &latest() const { return changes.empty() ? initial : changes.back().value; }

    // Sets the value from `month` on (empty: the initial one), replacing a change of that
    // same month.
    void setFrom(const QString &month, const Value &value) {
        if (month.isEmpty()) {
            initial = value;
            return;
        }
        const auto at = std::lower_bound(
            changes.begin(), changes.end(), month,
            [](const Dated<Value> &change, const QString &key) { return change.fromMonth < key; });
        if (at != changes.end() && at->fromMonth == month)
            at->value = value;
        else
            changes.insert(at, {month, value});
    }

    bool operator==(const DatedSetting &other) const {
        return initial == other.initial &&
               std::equal(changes.begin(), changes.end(), other.changes.begin(),
                          other.changes.end(), [](const Dated<Value> &a, const Dated<Value> &b) {
                              return a.fromMonth == b.fromMonth && a.value == b.value;
                          });
    }
};
