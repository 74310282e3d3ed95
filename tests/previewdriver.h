#pragma once

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
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
            if (!preview || !preview->isVisible())
                return;
            ++m_shown;
            if (m_look)
                m_look(*preview);
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
        QString suggested;
        QTimer answer;
        answer.setInterval(10);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
                answer.stop();
                suggested = QFileInfo(dialog->selectedFiles().value(0)).fileName();
                dialog->selectFile(path);
                static_cast<QDialog *>(dialog)->accept(); // the dialog's own accept, public here
            }
        });
        answer.start();
        found->trigger();
        return suggested;
    }

private:
    Look m_look;
    QTimer m_timer;
    int m_shown = 0;
};
