#pragma once

#include <QJsonArray>
#include <QString>

// Reads a written .xlsx file back with an independent reader (openpyxl, Debian's
// python3-openpyxl): one array per row of the first sheet, one object per cell with its value
// ("v"), openpyxl's type letter ("t": "s" text, "n" number, "f" formula), number format
// ("fmt"), boldness ("bold"), font ("font") and, for formulas, the cached value ("cached").
// Also the frozen cell and the page set-up, as {"frozen": "A3", "orientation": "landscape",
// "paper": 9, "titleRows": "$2:$2"} in the last element. Empty on failure, after a
// test failure naming the reason.
QJsonArray readSheetBack(const QString &path);
