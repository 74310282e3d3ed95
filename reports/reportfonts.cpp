#include "reportfonts.h"

#include "fonts.h"

#include <QFontMetricsF>
#include <QImage>
#include <cmath>

namespace {

// A device of exactly 96 dots per inch, so that measures come out in layout units whatever
// the screen.
const QImage &layoutDevice() {
    static const QImage device = [] {
        constexpr int dotsPerMetre = 3780; // 96 per inch
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        return image;
    }();
    return device;
}

QFontMetricsF metrics(TextStyle style) {
    return QFontMetricsF(reportFont(style), &layoutDevice());
}

} // namespace

QFont reportFont(TextStyle style) {
    QFont font(style == TextStyle::Value ? FontFamily::narrow : FontFamily::song);
    font.setPointSize(style == TextStyle::Title ? 11 : 8);
    font.setBold(style == TextStyle::Title);
    return font;
}

int textWidth(TextStyle style, const QString &text) {
    return int(std::ceil(metrics(style).horizontalAdvance(text)));
}

int lineHeight(TextStyle style) {
    return int(std::ceil(metrics(style).height()));
}
