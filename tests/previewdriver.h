#pragma once

#include "filedialoganswer.h"
#include "pageview.h"
#include "previewdialog.h"
#include "progresscancel.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <functional>

// Works every report preview opened while it lives, as the operator would: `look` sees the
// preview, then the preview is closed and the handler that opened it goes on. Nothing waits
// for a length of time: the preview's look is queued when it is shown, and so runs inside its
// own event loop.
class PreviewDriver : public QObject {
public:
    using Look = std::function<void(PreviewDialog &)>;

    explicit PreviewDriver(Look look = {}) : m_look(std::move(look)) {
        qApp->installEventFilter(this);
    }
    ~PreviewDriver() override { qApp->removeEventFilter(this); }

    int shown() const { return m_shown; }

    static int pageCount(PreviewDialog &preview) { return preview.pages().pageCount(); }

    enum class Then { Finish, Cancel };

    // Saves the previewed pages through the preview's own action, answering its file dialog
    // with `path`, and with Then::Cancel presses the progress dialog's cancel button as soon
    // as the writing has begun. Returns the file name the dialog suggested; empty when there
    // is no such action.
    static QString save(PreviewDialog &preview, const QString &action, const QString &path,
                        Then then = Then::Finish) {
        QAction *found = preview.findChild<QAction *>(action);
        if (!found)
            return {};
        ReplaceAnswer replace;
        if (then == Then::Cancel)
            cancelProgressOf(&preview);
        return answerFileDialog([found] { found->trigger(); }, path);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Show) {
            if (auto *preview = qobject_cast<PreviewDialog *>(watched)) {
                QMetaObject::invokeMethod(
                    preview,
                    [this, preview] {
                        ++m_shown;
                        if (m_look)
                            m_look(*preview);
                        preview->reject();
                    },
                    Qt::QueuedConnection);
            }
        }
        return false;
    }

private:
    // Answers yes to a file dialog's question whether to replace a file of the chosen name,
    // while it lives.
    class ReplaceAnswer : public QObject {
    public:
        ReplaceAnswer() { qApp->installEventFilter(this); }
        ~ReplaceAnswer() override { qApp->removeEventFilter(this); }

    protected:
        bool eventFilter(QObject *watched, QEvent *event) override {
            auto *question = qobject_cast<QMessageBox *>(watched);
            if (question && event->type() == QEvent::Show &&
                qobject_cast<QFileDialog *>(question->parent()))
                QMetaObject::invokeMethod(
                    question, [question] { question->button(QMessageBox::Yes)->click(); },
                    Qt::QueuedConnection);
            return false;
        }
    };

    Look m_look;
    int m_shown = 0;
};
