#pragma once

#include "filedialoganswer.h"

#include <QAction>
#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTimer>
#include <functional>

// Works every report preview opened while it lives, as the operator would: `look` sees the
// preview, then the preview is closed and the handler that opened it goes on.
class PreviewDriver {
public:
    using Look = std::function<void(QPrintPreviewDialog &)>;

    explicit PreviewDriver(Look look = {}) : m_look(std::move(look)) {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto *preview = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
            // `look` may open dialogs of its own, whose event loops run this again.
            if (!preview || !preview->isVisible() || m_looking)
                return;
            ++m_shown;
            m_looking = true;
            if (m_look)
                m_look(*preview);
            m_looking = false;
            preview->reject();
        });
        m_timer.start();
    }

    int shown() const { return m_shown; }

    static int pageCount(QPrintPreviewDialog &preview) {
        return preview.findChild<QPrintPreviewWidget *>()->pageCount();
    }

    // Saves the previewed pages through the preview's own action, answering its file dialog
    // with `path`. Returns the file name the dialog suggested; empty when there is no action.
    static QString save(QPrintPreviewDialog &preview, const QString &action, const QString &path) {
        QAction *found = preview.findChild<QAction *>(action);
        if (!found)
            return {};
        return answerFileDialog([found] { found->trigger(); }, path);
    }

private:
    Look m_look;
    QTimer m_timer;
    int m_shown = 0;
    bool m_looking = false;
};
