#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QProgressDialog>
#include <QString>
#include <functional>
#include <memory>

// Acts on the next progress dialog over `owner` as soon as the work it shows gives the screen
// its first turn; with a `title`, only on a dialog of that title, one work's among several.
inline void actOnProgressOf(QWidget *owner, const std::function<void(QProgressDialog &)> &act,
                            const QString &title = {}) {
    QMetaObject::invokeMethod(
        owner,
        [owner = QPointer<QWidget>(owner), act, title] {
            if (!owner)
                return;
            for (QProgressDialog *progress : owner->findChildren<QProgressDialog *>()) {
                if (title.isEmpty() || progress->windowTitle() == title) {
                    act(*progress);
                    return;
                }
            }
            actOnProgressOf(owner, act, title);
        },
        Qt::QueuedConnection);
}

// Presses the dialog's cancel button; `seen` then holds the dialog's text.
inline void cancelProgressOf(QWidget *owner, std::shared_ptr<QString> seen = {},
                             const QString &title = {}) {
    actOnProgressOf(
        owner,
        [seen](QProgressDialog &progress) {
            if (seen)
                *seen = progress.labelText();
            progress.cancel();
        },
        title);
}

// Puts the dialog on the screen at once, as work that lasts a while does.
inline void showProgressOf(QWidget *owner) {
    actOnProgressOf(owner, [](QProgressDialog &progress) { progress.show(); });
}
