#include "pageview.h"

#include "reportpainter.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

constexpr double layoutDotsPerInch = 96;
constexpr double minimumZoom = 0.05;
constexpr double maximumZoom = 8;

} // namespace

PageView::PageView(const PageModel &pages, QWidget *parent)
    : QAbstractScrollArea(parent), m_pages(pages), m_made(8) {
    setObjectName(QStringLiteral("pages"));
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAutoFillBackground(true);
    verticalScrollBar()->setSingleStep(20);
    horizontalScrollBar()->setSingleStep(20);
    m_currentPage = pageCount() > 0 ? 1 : 0;
}

double PageView::zoomFactor() const {
    const QSizeF paper = paperPixels();
    const QSize room = viewport()->size() - QSize(2 * gap, 2 * gap);
    switch (m_zoomMode) {
    case ZoomMode::FitWidth:
        return std::max(minimumZoom, room.width() / paper.width());
    case ZoomMode::FitPage:
        return std::max(minimumZoom,
                        std::min(room.width() / paper.width(), room.height() / paper.height()));
    case ZoomMode::Custom:
        break;
    }
    return m_customZoom;
}

void PageView::setZoomFactor(double factor) {
    m_customZoom = std::clamp(factor, minimumZoom, maximumZoom);
    setZoomMode(ZoomMode::Custom);
}

void PageView::setZoomMode(ZoomMode mode) {
    const int page = m_currentPage;
    m_zoomMode = mode;
    updateScrollBars();
    setCurrentPage(page);
    viewport()->update();
    emit zoomChanged();
}

void PageView::setCurrentPage(int page) {
    if (pageCount() == 0)
        return;
    page = std::clamp(page, 1, pageCount());
    m_turning = true; // the page asked for is the current one, wherever the view ends
    verticalScrollBar()->setValue((page - 1) * pageStep());
    m_turning = false;
    if (page != m_currentPage) {
        m_currentPage = page;
        emit currentPageChanged(page);
    }
}

QSizeF PageView::paperPixels() const {
    const double dotsPerUnit = logicalDpiX() / layoutDotsPerInch;
    return QSizeF(reportPageSize) * dotsPerUnit;
}

QSize PageView::pagePixels() const {
    return (paperPixels() * zoomFactor()).toSize();
}

QRect PageView::pageRect(int index) const {
    const QSize size = pagePixels();
    const int contentWidth = size.width() + 2 * gap;
    const int left = contentWidth < viewport()->width() ? (viewport()->width() - size.width()) / 2
                                                        : gap - horizontalScrollBar()->value();
    return QRect(QPoint(left, gap + index * pageStep() - verticalScrollBar()->value()), size);
}

const Page &PageView::page(int index) const {
    if (Page *made = m_made.object(index))
        return *made;
    auto *made = new Page(m_pages.at(index));
    m_made.insert(index, made);
    return *made;
}

void PageView::paintEvent(QPaintEvent *event) {
    QPainter painter(viewport());
    if (pageCount() == 0)
        return;
    const QRect area = event->rect();
    const int first = std::max(0, (verticalScrollBar()->value() + area.top() - gap) / pageStep());
    const double scale = double(pagePixels().width()) / reportPageSize.width() /
                         (painter.device()->logicalDpiX() / layoutDotsPerInch);
    for (int index = first; index < pageCount(); ++index) {
        const QRect paper = pageRect(index);
        if (paper.top() > area.bottom())
            break;
        painter.fillRect(paper.translated(3, 3), palette().shadow());
        painter.fillRect(paper, Qt::white);
        painter.save();
        painter.setClipRect(paper);
        painter.translate(paper.topLeft());
        painter.scale(scale, scale);
        paintPage(page(index), painter);
        painter.restore();
    }
}

void PageView::resizeEvent(QResizeEvent *event) {
    QAbstractScrollArea::resizeEvent(event);
    const int page = m_currentPage;
    updateScrollBars();
    if (m_zoomMode != ZoomMode::Custom) {
        setCurrentPage(page);
        emit zoomChanged(); // a fitted page grows and shrinks with the view
    }
}

void PageView::scrollContentsBy(int, int) {
    if (!m_turning)
        findCurrentPage();
    viewport()->update();
}

void PageView::updateScrollBars() {
    const QSize size = pagePixels();
    const QSize room = viewport()->size();
    verticalScrollBar()->setPageStep(room.height());
    verticalScrollBar()->setRange(0, std::max(0, pageCount() * pageStep() + gap - room.height()));
    horizontalScrollBar()->setPageStep(room.width());
    horizontalScrollBar()->setRange(0, std::max(0, size.width() + 2 * gap - room.width()));
}

// The page that takes the most of the view's middle line is the one being read.
void PageView::findCurrentPage() {
    if (pageCount() == 0)
        return;
    const int middle = verticalScrollBar()->value() + viewport()->height() / 2;
    const int page = std::clamp(middle / pageStep() + 1, 1, pageCount());
    if (page != m_currentPage) {
        m_currentPage = page;
        emit currentPageChanged(page);
    }
}
