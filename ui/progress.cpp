#include "progress.h"

#include "bevel.h"
#include "labels.h"
#include "windowgrey.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressDialog>

namespace {

constexpr std::chrono::milliseconds cancellableShowAfter(800);
// Often enough for the bar to move smoothly, rare enough to cost the work nothing.
constexpr qint64 millisecondsBetweenTurns = 40;

constexpr int titleTop = 5;
constexpr int titleSideRoom = 20;

// Framed as the module windows are: borderless and grey, an etched border, the work's name as
// the title, and under it the text with the count. The desktop cannot close it while work
// that must not stop runs: closing it would not end the work.
class ProgressDialog : public QProgressDialog {
public:
    ProgressDialog(const QString &text, const QString &cancelText, int total, QWidget *parent,
                   bool closable)
        : QProgressDialog(text, cancelText, 0, total, parent, Qt::Dialog | Qt::FramelessWindowHint),
          m_closable(closable) {
        setPalette(withWindowGrey(palette()));
        setAutoFillBackground(true);
        m_border = new Bevel(Bevel::Shape::Frame, rect(), this);
        m_border->setObjectName(QStringLiteral("Bevel1"));
        m_title = makeTitle(text, QPoint(0, titleTop), this);
        // The dialog lays its text out from the top edge; the room kept above the text is the
        // title's.
        auto *label = new QLabel(text);
        label->setAlignment(Qt::AlignCenter);
        label->setContentsMargins(0, titleTop + m_title->height(), 0, 0);
        setLabel(label);
    }

    QSize sizeHint() const override {
        return QProgressDialog::sizeHint().expandedTo(
            QSize(m_title->width() + 2 * titleSideRoom, 0));
    }

protected:
    void closeEvent(QCloseEvent *event) override {
        if (m_closable)
            QProgressDialog::closeEvent(event);
        else
            event->ignore();
    }

    void resizeEvent(QResizeEvent *event) override {
        QProgressDialog::resizeEvent(event);
        m_border->setGeometry(rect());
        m_title->move((width() - m_title->width()) / 2, titleTop);
    }

private:
    bool m_closable;
    Bevel *m_border = nullptr;
    QLabel *m_title = nullptr;
};

} // namespace

Progress::Progress(QWidget *parent, const QString &text, int total)
    : Progress(parent, text, total, Stop::ByOperator, cancellableShowAfter) {}

Progress::Progress(const QString &text, std::chrono::milliseconds showAfter)
    : Progress(nullptr, text, 0, Stop::Never, showAfter) {}

Progress::Progress(QWidget *parent, const QString &text, int total, Stop stop,
                   std::chrono::milliseconds showAfter)
    : m_text(text), m_total(std::max(total, 0)), m_stop(stop),
      // Without a cancel button's text the dialog has no cancel button.
      m_dialog(std::make_unique<ProgressDialog>(
          text, stop == Stop::ByOperator ? QStringLiteral("取消") : QString(), m_total, parent,
          stop == Stop::ByOperator)) {
    m_dialog->setObjectName(QStringLiteral("progress"));
    m_dialog->setWindowTitle(text);
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(int(showAfter.count()));
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setValue(0); // starts the dialog's own clock for showing itself
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_clock.start();
}

// A window that was up took the activation from the window it covered; without a desktop
// that hands it back, the clerk's next keys would go nowhere.
Progress::~Progress() {
    QApplication::restoreOverrideCursor();
    QWidget *covered = m_dialog->parentWidget();
    if (covered && m_dialog->isVisible()) {
        m_dialog->hide();
        covered->window()->activateWindow();
    }
}

void Progress::setTotal(int total) {
    m_total = std::max(total, 1);
    m_dialog->setMaximum(m_total);
}

void Progress::step(int done) {
    if (!due())
        return;
    if (m_total > 0) {
        m_dialog->setLabelText(QStringLiteral("%1 %2/%3").arg(m_text).arg(done).arg(m_total));
        m_dialog->setValue(std::clamp(done, 0, m_total));
    }
    serveScreen();
}

void Progress::pulse() {
    if (due())
        serveScreen();
}

bool Progress::due() const {
    return m_lastServed < 0 || m_clock.elapsed() - m_lastServed >= millisecondsBetweenTurns;
}

// The clerk's clicks and keys wait while the window with the cancel button is not up: they
// would reach the window whose handler is at work, and start something in the middle of it.
// Once it is up it takes them alone, its owner being blocked; work that cannot stop keeps
// them waiting throughout.
void Progress::serveScreen() {
    m_lastServed = m_clock.elapsed();
    const bool answering = m_stop == Stop::ByOperator && m_dialog->isVisible();
    QCoreApplication::processEvents(answering ? QEventLoop::AllEvents
                                              : QEventLoop::ExcludeUserInputEvents);
    if (m_stop == Stop::ByOperator && m_dialog->wasCanceled())
        throw OperationCancelled();
}
