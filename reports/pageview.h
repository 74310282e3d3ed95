#pragma once

#include "pagemodel.h"

#include <QAbstractScrollArea>
#include <QCache>

// The pages of a report one under another on a grey ground, as on a desk. Only the pages in
// sight are made from the page model and drawn, so the view opens at once whatever the
// length of the report.
class PageView : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum class ZoomMode { FitWidth, FitPage, Custom };

    PageView(const PageModel &pages, QWidget *parent = nullptr);

    int pageCount() const { return int(m_pages.size()); }
    int currentPage() const { return m_currentPage; } // from 1; 0 without pages
    double zoomFactor() const;                        // 1 is the paper's own size
    ZoomMode zoomMode() const { return m_zoomMode; }

public slots:
    void setCurrentPage(int page);
    void setZoomFactor(double factor);
    void setZoomMode(ZoomMode mode);
    void zoomIn() { setZoomFactor(zoomFactor() * zoomStep); }
    void zoomOut() { setZoomFactor(zoomFactor() / zoomStep); }

signals:
    void currentPageChanged(int page);
    void zoomChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    static constexpr double zoomStep = 1.25;
    static constexpr int gap = 10; // pixels around every page

    QSizeF paperPixels() const; // of the page at its own size, on this screen
    QSize pagePixels() const;
    int pageStep() const { return pagePixels().height() + gap; }
    QRect pageRect(int index) const; // in viewport coordinates
    const Page &page(int index) const;
    void updateScrollBars();
    void findCurrentPage();

    const PageModel &m_pages;
    mutable QCache<int, Page> m_made; // the pages last in sight
    ZoomMode m_zoomMode = ZoomMode::FitWidth;
    double m_customZoom = 1;
    int m_currentPage = 0;
    bool m_turning = false;
};
