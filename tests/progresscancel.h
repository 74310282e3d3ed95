#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QProgressDialog>
#include <QString>
#include <memory>

// Presses the cancel button of the next progress dialog over `owner` as soon as the work it
// shows gives the screen its first turn; `seen` then holds the dialog's text.
inline void cancelProgressOf(QWidget *owner, std::shared_ptr<QString> seen = {}) {
    QMetaObject::invokeMethod(
        owner,
        [owner = QPointer<QWidget>(owner), seen] {
            if (!owner)
                return;
            if (auto *progress = owner->findChild<QProgressDialog *>()) {
                if (seen)
                    *seen = progress->labelText();
                progress->cancel();
            } else {
                cancelProgressOf(owner, seen);
            }
        },
        Qt::QueuedConnection);
}
