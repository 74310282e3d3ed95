#pragma once

#include <QFont>
#include <QString>

// The windows name the fonts of the system they were designed on. Mapping those names to
// installed fonts once, at start-up, lets every window keep naming them.
void installFontSubstitutes();

// A font of the given family at a pixel size, as the window layouts give sizes.
QFont pixelFont(const QString &family, int pixelSize, bool bold = false);

// The families the windows use.
namespace FontFamily {
inline const QString song = QStringLiteral("宋体");
inline const QString kai = QStringLiteral("楷体_GB2312");
inline const QString sans = QStringLiteral("MS Sans Serif");
inline const QString narrow = QStringLiteral("Arial Narrow");
} // namespace FontFamily
