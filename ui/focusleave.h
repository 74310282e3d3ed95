#pragma once

#include <QFocusEvent>
#include <QPointer>
#include <QWidget>

// Whether losing the focus means the operator left the box. A context menu, the menu bar or
// another window only borrows the focus: the box is still being worked on, and must neither
// check nor rewrite what is half typed in it.
inline bool isLeaving(const QFocusEvent *event) {
    const Qt::FocusReason reason = event->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
           reason != Qt::MenuBarFocusReason;
}

// A box that refuses to be left takes the focus back just after losing it. Meanwhile the
// widget that was clicked holds the focus, and the click itself is still on its way to it: a
// widget whose click would change something asks here first, so that the refusal wins.
class LeaveRefusal {
public:
    static bool isPending() { return !refusing().isNull(); }
    static void begin(QWidget *box) { refusing() = box; }
    static void end() { refusing().clear(); }

private:
    // Cleared by itself should the box go away before it took the focus back.
    static QPointer<QWidget> &refusing() {
        static QPointer<QWidget> box;
        return box;
    }
};
