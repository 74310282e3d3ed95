#pragma once

#include "currency.h"
#include "query.h"

#include <QString>
#include <optional>

// An amount a setting may lack (a floor, a cap, a line's limit), stored as null.

inline std::optional<Currency> optionalAmount(const Field &field) {
    if (field.isNull())
        return std::nullopt;
    return field.asCurrency();
}

// The place of the amount in a statement: its parameter, or "null" when it is not there.
inline QString placeOf(const QString &name, const std::optional<Currency> &amount) {
    return amount ? ':' + name : QStringLiteral("null");
}

inline void bindOptional(Query &query, const QString &name, const std::optional<Currency> &amount) {
    if (amount)
        query.param(name).setCurrency(*amount);
}
