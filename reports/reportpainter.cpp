#include "reportpainter.h"

#include "reportfonts.h"
#include "textfit.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <stdexcept>

QPageLayout reportPageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF());
}

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

    // A text never runs over its neighbours: one wider than its box is drawn narrower.
    for (const PageText &text : page.texts) {
        const QRectF box(text.box.x() * scale, text.box.y() * scale, text.box.width() * scale,
                         text.box.height() * scale);
        painter.setFont(reportFont(text.style));
        painter.setClipRect(box);
        drawFittedText(painter, box, text.alignment | Qt::AlignTop, text.text);
        painter.setClipping(false);
    }
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
