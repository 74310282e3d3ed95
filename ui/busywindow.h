#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <chrono>

class QLabel;
class QProgressBar;

// A small window that tells the clerk what long work the program is doing while it takes no
// input, such as the backup and compaction at start-up. The work calls pulse() now and then
// (see engineprogress.h); the window appears only once the work has lasted `showAfter`, so
// that quick work flashes nothing, and from then on each pulse lets the screen repaint and
// the desktop see the program answer. The window leaves with its object.
class BusyWindow : public QWidget {
public:
    BusyWindow(const QString &text, std::chrono::milliseconds showAfter);

    void pulse();

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void pumpEvents();

    std::chrono::milliseconds m_showAfter;
    QElapsedTimer m_started;
    QElapsedTimer m_lastPumped;
    QLabel *m_text = nullptr;
    QProgressBar *m_bar = nullptr;
};
