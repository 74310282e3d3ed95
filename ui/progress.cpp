#include "progress.h"

#include <QApplication>
#include <QProgressDialog>

namespace {

constexpr int showAfterMilliseconds = 800;
constexpr qint64 updateEveryMilliseconds = 50;

} // namespace

Progress::Progress(QWidget *parent, const QString &text, int total)
    : m_text(text), m_total(std::max(total, 1)),
      m_dialog(
          std::make_unique<QProgressDialog>(text, QStringLiteral("取消"), 0, m_total, parent)) {
    m_dialog->setObjectName(QStringLiteral("progress"));
    m_dialog->setWindowTitle(text);
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setMinimumDuration(showAfterMilliseconds);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setValue(0); // starts the dialog's own clock for showing itself
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_clock.start();
}

Progress::~Progress() {
    QApplication::restoreOverrideCursor();
}

void Progress::setTotal(int total) {
    m_total = std::max(total, 1);
    m_dialog->setMaximum(m_total);
}

void Progress::step(int done) {
    if (m_lastUpdate < 0 || m_clock.elapsed() - m_lastUpdate >= updateEveryMilliseconds)
        update(done);
}

void Progress::update(int done) {
    m_lastUpdate = m_clock.elapsed();
    m_dialog->setLabelText(QStringLiteral("%1 %2/%3").arg(m_text).arg(done).arg(m_total));
    m_dialog->setValue(std::clamp(done, 0, m_total));
    QCoreApplication::processEvents();
    if (m_dialog->wasCanceled())
        throw OperationCancelled();
}
