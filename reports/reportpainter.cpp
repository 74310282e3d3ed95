#include "reportpainter.h"

#include "reportfonts.h"
#include "textfit.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <optional>
#include <stdexcept>
#include <tuple>
#include <vector>

QPageLayout reportPageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF());
}

namespace {

QRectF scaled(const QRect &box, double scale) {
    return QRectF(box.x() * scale, box.y() * scale, box.width() * scale, box.height() * scale);
}

// A text never runs over its neighbours: one wider than its box is drawn narrower, and its ink
// stops at its box. Across, most texts keep inside by themselves; down, the song face's glyphs
// reach above its ascent, so nearly every text is clipped at its box's top and bottom. A clip
// costs a PDF writer a graphics state of its own, so the texts of one row that keep inside
// across share one: the strip of the page between their boxes' top and bottom. Texts are drawn
// row by row and style by style for the same reason; all ink is black, so the order changes
// no dot.
void paintTexts(const QList<PageText> &texts, QPainter &painter, double scale) {
    std::vector<const PageText *> order;
    order.reserve(std::size_t(texts.size()));
    for (const PageText &text : texts)
        order.push_back(&text);
    const auto row = [](const PageText *text) {
        return std::tuple(text->box.top(), text->box.bottom(), text->style);
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](const PageText *a, const PageText *b) { return row(a) < row(b); });

    const double pageWidth = reportPageSize.width() * scale;
    std::optional<TextStyle> style;
    std::optional<QFontMetricsF> metrics;
    QRectF clip;
    for (const PageText *text : order) {
        if (style != text->style) {
            style = text->style;
            painter.setFont(reportFont(text->style));
            metrics.emplace(painter.font(), painter.device());
        }
        const QRectF box = scaled(text->box, scale);
        const Qt::Alignment alignment = text->alignment | Qt::AlignTop;
        const FittedText fitted = fitText(text->text, *metrics, box.width());
        const QRectF needed = staysWithinSides(painter, *metrics, box, alignment, fitted)
                                  ? QRectF(0, box.top(), pageWidth, box.height())
                                  : box;
        if (needed != clip) {
            clip = needed;
            painter.setClipRect(clip);
        }
        drawFittedText(painter, box, alignment, fitted);
    }
    painter.setClipping(false);
}

} // namespace

void paintPage(const Page &page, QPainter &painter) {
    constexpr double layoutDotsPerInch = 96;
    const double scale = painter.device()->logicalDpiX() / layoutDotsPerInch;
    painter.save();

    // A box covers the units from its left edge to one short of its right edge, like the
    // dots of a screen; the line runs through the middle of its border units, so boxes that
    // overlap by one unit share one line.
    painter.setPen(QPen(Qt::black, scale));
    painter.setBrush(Qt::NoBrush);
    for (const QRect &box : page.rectangles)
        painter.drawRect(QRectF((box.x() + 0.5) * scale, (box.y() + 0.5) * scale,
                                (box.width() - 1) * scale, (box.height() - 1) * scale));

    paintTexts(page.texts, painter, scale);
    painter.restore();
}

void paintReport(const PageModel &pages, QPagedPaintDevice &device,
                 const std::function<void(int drawn)> &afterPage) {
    device.setPageLayout(reportPageLayout());
    QPainter painter;
    if (!painter.begin(&device))
        throw std::runtime_error("无法输出报表");
    try {
        for (qsizetype i = 0; i < pages.size(); ++i) {
            if (i > 0)
                device.newPage();
            paintPage(pages.at(i), painter);
            if (afterPage)
                afterPage(int(i + 1));
        }
    } catch (...) {
        // Ending the painter would send a printer the pages drawn so far.
        if (auto *printer = dynamic_cast<QPrinter *>(&device))
            printer->abort();
        throw;
    }
    if (!painter.end())
        throw std::runtime_error("无法输出报表");
}
