#pragma once

#include "guard.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

// Runs a window's handler when the operator moves the focus from a field to another control
// of the same window: Tab, Enter, a click or a shortcut. A message box, a popup, another
// application or the window closing only borrow the focus, and the window moving the focus
// itself (a button starting a new entry) abandons what was typed; none of these is a leave.
// The handler runs once the focus has arrived, so it may show a box or move the focus.
class LeaveWatch : public QObject {
public:
    LeaveWatch(QWidget *field, std::function<void()> handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void focusChanged(QWidget *old, QWidget *now);

    QPointer<QWidget> m_field;
    std::function<void()> m_handler;
    bool m_leftByOperator = false;
};

// Runs `handler` of `window` inside the guard whenever the operator leaves `field`:
//
//   onLeave(e_mc, this, &Tfrm_bmsz::e_mcExit);
template <typename Window> void onLeave(QWidget *field, Window *window, void (Window::*handler)()) {
    new LeaveWatch(field, [window, handler] { guarded([&] { (window->*handler)(); }); });
}
