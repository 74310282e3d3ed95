#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QProgressDialog>
#include <QString>
#include <functional>
#include <memory>

// Acts on the next progress dialog over `owner` as soon as the work it shows gives the screen
// its first turn.
inline void actOnProgressOf(QWidget *owner, const std::function<void(QProgressDialog &)> &act) {
    QMetaObject::invokeMethod(
        owner,
        [owner = QPointer<QWidget>(owner), act] {
            if (!owner)
                return;
            if (auto *progress = owner->findChild<QProgressDialog *>())
                act(*progress);
            else
                actOnProgressOf(owner, act);
        },
        Qt::QueuedConnection);
}

// Presses the dialog's cancel button; `seen` then holds the dialog's text.
inline void cancelProgressOf(QWidget *owner, std::shared_ptr<QString> seen = {}) {
    actOnProgressOf(owner, [seen](QProgressDialog &progress) {
        if (seen)
            *seen = progress.labelText();
        progress.cancel();
    });
}

// Puts the dialog on the screen at once, as work that lasts a while does.
inline void showProgressOf(QWidget *owner) {
    actOnProgressOf(owner, [](QProgressDialog &progress) { progress.show(); });
}
