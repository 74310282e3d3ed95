#include "busywindow.h"

#include "fonts.h"
#include "placement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <qdrawutil.h>

namespace {

// Often enough for the bar to move smoothly, rare enough to cost the work nothing.
constexpr qint64 millisecondsBetweenRepaints = 40;

} // namespace

BusyWindow::BusyWindow(const QString &text, std::chrono::milliseconds showAfter)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_showAfter(showAfter) {
    setObjectName(QStringLiteral("frm_busy"));
    setWindowTitle(QApplication::applicationDisplayName());
    setFixedSize(260, 72);
    setFont(pixelFont(FontFamily::song, 12));
    m_text = place(new QLabel(text, this), "l_text", {16, 14, 228, 16});
    m_bar = place(new QProgressBar(this), "pb_busy", {16, 38, 228, 16});
    m_bar->setRange(0, 0); // no count to show: the bar only says the work goes on
    m_bar->setTextVisible(false);
    m_started.start();
}

void BusyWindow::pulse() {
    if (isVisible()) {
        if (m_lastPumped.elapsed() >= millisecondsBetweenRepaints)
            pumpEvents();
        return;
    }
    if (m_started.elapsed() < m_showAfter.count())
        return;
    centreOnScreen(this);
    show();
    pumpEvents();
}

void BusyWindow::pumpEvents() {
    // The clerk's clicks and keys wait: nothing may start while the work runs.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_lastPumped.start();
}

void BusyWindow::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), false, 2);
}

void BusyWindow::closeEvent(QCloseEvent *event) {
    // The work ends the window; closing it from the desktop would not end the work.
    event->ignore();
}
