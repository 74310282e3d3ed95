#include "textfit.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRectF>
#include <optional>

namespace {

// Glyphs narrower than this share of their width stop reading as the characters they are;
// below it the glyphs are made smaller as well, keeping this proportion, down to the smallest
// share that still reads.
constexpr qreal narrowest = 0.6;
constexpr qreal smallest = 0.45;

// Digits with their sign, decimal point and group separators: cutting one changes the value.
bool isFigure(const QString &text) {
    bool digit = false;
    for (const QChar c : text) {
        if (c.isDigit())
            digit = true;
        else if (c != u'-' && c != u'+' && c != u'.' && c != u',')
            return false;
    }
    return digit;
}

// The scales that draw a text of `natural` width in `width`, or none.
std::optional<FittedText> scaled(const QString &text, qreal natural, qreal width) {
    if (natural <= width)
        return FittedText{text};
    const qreal share = width / natural;
    if (share >= narrowest)
        return FittedText{text, share};
    if (share >= smallest)
        return FittedText{text, share, share / narrowest};
    return std::nullopt;
}

} // namespace

FittedText fitText(const QString &text, const QFontMetricsF &metrics, qreal width) {
    if (auto whole = scaled(text, metrics.horizontalAdvance(text), width))
        return *whole;
    if (isFigure(text))
        return scaled(overflowMark, metrics.horizontalAdvance(overflowMark), width)
            .value_or(FittedText{});
    // The leading whole characters that fit, with an ellipsis saying that more follow.
    const QString more = QStringLiteral("…");
    for (qsizetype kept = text.size() - 1; kept > 0; --kept) {
        if (text.at(kept).isLowSurrogate())
            continue; // never half a character
        const QString shortened = text.left(kept) + more;
        if (auto fitted = scaled(shortened, metrics.horizontalAdvance(shortened), width))
            return *fitted;
    }
    return {};
}

void drawFittedText(QPainter &painter, const QRectF &box, Qt::Alignment alignment,
                    const QString &text) {
    const int flags = int(alignment | Qt::TextSingleLine);
    const FittedText fitted =
        fitText(text, QFontMetricsF(painter.font(), painter.device()), box.width());
    if (fitted.widthScale == 1 && fitted.heightScale == 1) {
        painter.drawText(box, flags, fitted.text);
        return;
    }
    // Drawn into the box as seen through the scales, so the alignment still places the text
    // at the box's left, centre or right, top or middle.
    painter.save();
    painter.translate(box.topLeft());
    painter.scale(fitted.widthScale, fitted.heightScale);
    painter.drawText(
        QRectF(0, 0, box.width() / fitted.widthScale, box.height() / fitted.heightScale), flags,
        fitted.text);
    painter.restore();
}
