#include "labels.h"

#include "fonts.h"

#include <QImage>
#include <QLabel>
#include <QPainter>
#include <algorithm>

QLabel *makeLabel(const QString &name, const QString &text, const QRect &geometry,
                  const QFont &font, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAttribute(Qt::WA_TranslucentBackground);
    setTextColour(label, Qt::black);
    return label;
}

namespace {

// The rows a text's glyphs darken by half or more, from its baseline (negative above it): the
// font's own measures include the faint edges of smoothing and whatever room the font keeps.
std::pair<int, int> inkRows(const QString &text, const QFont &font) {
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(text) + 4, metrics.height() + 4,
                 QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.drawText(2, metrics.ascent() + 2, text);
    painter.end();
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const uchar *row = image.constScanLine(y);
        if (std::any_of(row, row + image.width(), [](uchar grey) { return grey < 128; })) {
            top = top < 0 ? y : top;
            bottom = y;
        }
    }
    return {top - metrics.ascent() - 2, bottom - metrics.ascent() - 2};
}

} // namespace

QLabel *makeTitle(const QString &text, const QPoint &position, QWidget *parent,
                  std::optional<int> above) {
    QFont font = pixelFont(FontFamily::kai, 19, true);
    QLabel *title =
        makeLabel(QStringLiteral("Label8"), text, QRect(position, QSize()), font, parent);
    title->adjustSize(); // the whole title shows, whatever the installed font's widths
    if (!above)
        return title;
    // The font's line starts well above its glyphs: the glyphs are set at the top of the box
    // instead, and made smaller only if even so they would reach the bar.
    constexpr int smallestSize = 12;
    for (int size = 19;; --size) {
        font.setPixelSize(size);
        const auto [top, bottom] = inkRows(text, font);
        if (position.y() + bottom - top < *above || size == smallestSize) {
            title->setFont(font);
            title->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
            title->resize(title->sizeHint().width(), QFontMetrics(font).descent() - top);
            return title;
        }
    }
}

void setTextColour(QLabel *label, const QColor &colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}
