#pragma once

#include "reportdefinition.h"

#include <QFont>

// The fonts of the printed reports, by the names the reports were designed with (the start-up
// font mapping finds installed ones), and their measures in layout units.
QFont reportFont(TextStyle style);

// The width of a text in layout units, rounded up so that the whole text fits.
int textWidth(TextStyle style, const QString &text);

// The height of one line of text in layout units.
int lineHeight(TextStyle style);
