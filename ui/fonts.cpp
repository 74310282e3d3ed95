#include "fonts.h"

#include <QStringList>

void installFontSubstitutes() {
    // Each Latin family falls back on a Chinese one, so Chinese captions never show as boxes.
    const QString ming = QStringLiteral("AR PL UMing CN");
    const QString kai = QStringLiteral("AR PL UKai CN");
    QFont::insertSubstitutions(FontFamily::song, {ming});
    QFont::insertSubstitutions(FontFamily::kai, {kai, ming});
    QFont::insertSubstitutions(FontFamily::sans, {QStringLiteral("Liberation Sans"), ming});
    QFont::insertSubstitutions(FontFamily::narrow,
                               {QStringLiteral("Liberation Sans Narrow"), ming});
}

QFont pixelFont(const QString &family, int pixelSize, bool bold) {
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}
