#pragma once

#include <QFocusEvent>

// Whether losing the focus means the operator left the box. A context menu, the menu bar or
// another window only borrows the focus: the box is still being worked on, and must neither
// check nor rewrite what is half typed in it.
inline bool isLeaving(const QFocusEvent *event) {
    const Qt::FocusReason reason = event->reason();
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason &&
           reason != Qt::MenuBarFocusReason;
}
