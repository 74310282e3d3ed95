#pragma once

#include "currency.h"

#include <QString>
#include <optional>

// An amount typed into a table cell: a plain decimal with at most two decimals; an empty cell
// is `empty`. Nothing for anything else.
inline std::optional<Currency> amountIn(const QString &cell, std::optional<Currency> empty) {
    const QString text = cell.trimmed();
    if (text.isEmpty())
        return empty;
    const std::optional<Currency> amount = Currency::fromText(text);
    if (!amount || amount->roundedToFen() != *amount)
        return std::nullopt;
    return amount;
}
