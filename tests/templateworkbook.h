#pragma once

#include <QString>
#include <QStringList>

// A workbook written by another program (openpyxl, or a bare package), as the tax client's own
// would be: `cells` are the first row's texts by column, an empty one left out. Shared strings,
// or with `inlineStrings` the least a package may hold: inline strings only, no shared strings
// part, the sheet not named sheet1.
void makeWorkbook(const QString &path, const QStringList &cells, bool inlineStrings = false);

// A workbook whose first row names the last of more shared strings than a template could
// need: their part inflates to some 80 MB from a file of a few hundred kilobytes.
void makeSwollenWorkbook(const QString &path);
