#include "textfit.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <algorithm>
#include <optional>

namespace {

// Glyphs narrower than this share of their width stop reading as the characters they are;
// below it the glyphs are made smaller as well, keeping this proportion, down to the smallest
// share that still reads.
constexpr qreal narrowest = 0.6;
constexpr qreal smallest = 0.45;

// Digits with their sign, currency sign, decimal point and group separators: cutting one
// changes the value.
bool isFigure(const QString &text) {
    bool digit = false;
    for (const QChar c : text) {
        if (c.isDigit())
            digit = true;
        else if (c != u'-' && c != u'+' && c != u'.' && c != u',' && c != u'¥')
            return false;
    }
    return digit;
}

// The scales that draw a text of `natural` width in `width`, or none.
std::optional<FittedText> scaled(const QString &text, qreal natural, qreal width) {
    if (natural <= width)
        return FittedText{text, 1, 1, natural};
    const qreal share = width / natural;
    if (share >= narrowest)
        return FittedText{text, share, 1, natural};
    if (share >= smallest)
        return FittedText{text, share, share / narrowest, natural};
    return std::nullopt;
}

// Qt's own emboldening of a face without a bold cut thickens each stroke by this share of the
// em.
constexpr qreal emboldeningPerEm = 1.0 / 24;

bool hasBoldFace(const QString &family) {
    const QStringList styles = QFontDatabase::styles(family);
    return std::any_of(styles.cbegin(), styles.cend(), [&](const QString &style) {
        return QFontDatabase::weight(family, style) >= QFont::DemiBold;
    });
}

// Whether the painter's device would draw the painter's bold font much lighter than the
// screen does: for a face without a bold cut, the PDF writer only draws the regular glyphs
// twice, a hair apart.
bool drawsBoldLight(const QPainter &painter) {
    const QFont &font = painter.font();
    return font.bold() && painter.paintEngine()->type() == QPaintEngine::Pdf &&
           !hasBoldFace(QFontInfo(font).family());
}

// The regular glyphs of `text` where `drawText(box, flags, text)` places them, with their
// outlines traced by a pen as wide as the screen's emboldening thickens a stroke.
void drawTracedText(QPainter &painter, const QRectF &box, int flags, const QString &text) {
    painter.save();
    QFont regular = painter.font();
    regular.setBold(false);
    painter.setFont(regular);
    painter.drawText(box, flags, text);

    const QFontMetricsF metrics(regular, painter.device());
    const qreal width = metrics.horizontalAdvance(text);
    qreal left = box.left();
    if (flags & Qt::AlignRight)
        left = box.right() - width;
    else if (flags & Qt::AlignHCenter)
        left = box.left() + (box.width() - width) / 2;
    qreal baseline = box.top() + metrics.ascent();
    if (flags & Qt::AlignBottom)
        baseline = box.bottom() - metrics.descent();
    else if (flags & Qt::AlignVCenter)
        baseline = box.top() + (box.height() - metrics.height()) / 2 + metrics.ascent();
    QPainterPath outline;
    outline.addText(QPointF(left, baseline), regular, text);
    const qreal em = regular.pixelSize() > 0
                         ? regular.pixelSize()
                         : regular.pointSizeF() * painter.device()->logicalDpiY() / 72;
    painter.strokePath(outline, QPen(painter.pen().color(), em * emboldeningPerEm, Qt::SolidLine,
                                     Qt::RoundCap, Qt::RoundJoin));
    painter.restore();
}

void drawText(QPainter &painter, const QRectF &box, int flags, const QString &text) {
    if (drawsBoldLight(painter))
        drawTracedText(painter, box, flags, text);
    else
        painter.drawText(box, flags, text);
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
    drawFittedText(painter, box, alignment,
                   fitText(text, QFontMetricsF(painter.font(), painter.device()), box.width()));
}

void drawFittedText(QPainter &painter, const QRectF &box, Qt::Alignment alignment,
                    const FittedText &fitted) {
    const int flags = int(alignment | Qt::TextSingleLine);
    if (fitted.widthScale == 1 && fitted.heightScale == 1) {
        drawText(painter, box, flags, fitted.text);
        return;
    }
    // Drawn into the box as seen through the scales, so the alignment still places the text
    // at the box's left, centre or right, top or middle.
    painter.save();
    painter.translate(box.topLeft());
    painter.scale(fitted.widthScale, fitted.heightScale);
    drawText(painter,
             QRectF(0, 0, box.width() / fitted.widthScale, box.height() / fitted.heightScale),
             flags, fitted.text);
    painter.restore();
}

bool staysWithinSides(const QPainter &painter, const QFontMetricsF &metrics, const QRectF &box,
                      Qt::Alignment alignment, const FittedText &fitted) {
    const QString &text = fitted.text;
    if (text.isEmpty())
        return true;
    if (fitted.widthScale != 1 || fitted.heightScale != 1 || drawsBoldLight(painter) ||
        text.front().isSurrogate() || text.back().isSurrogate())
        return false;
    qreal left = box.left();
    if (alignment & Qt::AlignRight)
        left = box.right() - fitted.naturalWidth;
    else if (alignment & Qt::AlignHCenter)
        left = box.left() + (box.width() - fitted.naturalWidth) / 2;
    constexpr qreal spare = 1;
    return left + metrics.leftBearing(text.front()) >= box.left() + spare &&
           left + fitted.naturalWidth - metrics.rightBearing(text.back()) <= box.right() - spare;
}
