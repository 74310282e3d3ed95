#pragma once

#include <QString>
#include <Qt>

class QFontMetricsF;
class QPainter;
class QRectF;

// A text as it is drawn into a box narrower than the text needs. A figure read with a digit
// missing is a wrong figure, and a caption cut through a character shows another character,
// so nothing is ever cut: the glyphs are drawn narrower, then also smaller, and only when even
// that cannot fit does a figure give way to a mark and a name to its leading whole characters.
struct FittedText {
    QString text;
    qreal widthScale = 1;   // of the glyphs, 1 when the text fits as it is
    qreal heightScale = 1;  // below 1 only where narrowing alone was not enough
    qreal naturalWidth = 0; // of `text` before the scales, in the units of the metrics
};

// Fits `text`, measured with `metrics`, into `width` (in the units of the metrics).
FittedText fitText(const QString &text, const QFontMetricsF &metrics, qreal width);

// What stands for a figure that cannot be shown whole.
inline const QString overflowMark = QStringLiteral("###");

// Draws `text` on one line in `box` with the painter's font, fitted to the box's width.
// A bold font whose family has no bold face is drawn as bold on paper as on the screen: Qt
// emboldens such glyphs on the screen, but its PDF writer, and so the printer, barely does;
// there the regular glyphs' outlines are traced as thick as the screen emboldens them.
void drawFittedText(QPainter &painter, const QRectF &box, Qt::Alignment alignment,
                    const QString &text);
// The same for a text already fitted with the painter's font and device.
void drawFittedText(QPainter &painter, const QRectF &box, Qt::Alignment alignment,
                    const FittedText &fitted);

// Whether every glyph of `fitted`, drawn in `box` as above, stays between the box's left and
// right edges, with a device unit to spare: true for a text drawn at its natural size whose
// first and last glyphs do not overhang its ends, and never for a narrowed or traced text.
// `metrics` are the painter's font's on the painter's device.
bool staysWithinSides(const QPainter &painter, const QFontMetricsF &metrics, const QRectF &box,
                      Qt::Alignment alignment, const FittedText &fitted);
