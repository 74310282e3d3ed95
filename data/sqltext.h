#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// Finding one's way in a statement's text without parsing it: which characters lie inside
// quoted literals, and where a parenthesised part ends.

// For each character of `text`, whether it lies inside a quoted literal (quotes included).
std::vector<bool> literalMask(const QString &text);

// The end of the parenthesised or whole text that starts at `from`: the first ")" that closes
// nothing opened after `from`, or the end.
qsizetype levelEnd(const QString &sql, const std::vector<bool> &inLiteral, qsizetype from);

// How many parentheses outside literals are open at `position`.
int depthAt(const QString &sql, const std::vector<bool> &inLiteral, qsizetype position);

// The parts of the text from `from` to `end` between the commas outside literals and outside
// the parentheses opened after `from`, trimmed.
QStringList splitAtTopLevelCommas(const QString &sql, const std::vector<bool> &inLiteral,
                                  qsizetype from, qsizetype end);
