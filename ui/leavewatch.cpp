#include "leavewatch.h"

#include <QApplication>
#include <QFocusEvent>
#include <QWidget>

namespace {

bool isOperatorMove(Qt::FocusReason reason) {
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason;
}

} // namespace

LeaveWatch::LeaveWatch(QWidget *field, std::function<void()> handler)
    : QObject(field), m_field(field), m_handler(std::move(handler)) {
    field->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &LeaveWatch::focusChanged);
}

// Qt tells the reason only to the widget losing the focus, and before the focus has arrived
// where it goes; the move is judged once both are known.
bool LeaveWatch::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_field && event->type() == QEvent::FocusOut)
        m_leftByOperator = isOperatorMove(static_cast<QFocusEvent *>(event)->reason());
    return false;
}

void LeaveWatch::focusChanged(QWidget *old, QWidget *now) {
    if (old != m_field || !now)
        return;
    const bool leave = m_leftByOperator && now->window() == m_field->window();
    m_leftByOperator = false;
    if (!leave)
        return;
    m_handler();
    // A box the handler showed leaves no window active where no window manager hands the
    // activation back (a virtual display): the window would miss the operator's next leave.
    QWidget *window = m_field->window();
    if (window->isVisible() && !window->isActiveWindow())
        window->activateWindow();
}
