#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QTimer>
#include <functional>

// Runs `open` and, while it runs, hands `answer` the active modal window over and over, so the
// dialogs it brings up are waited for as conditions (being the active modal window), never for
// a length of time.
inline void answerModalWindows(const std::function<void()> &open,
                               const std::function<void(QWidget *)> &answer) {
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] { answer(QApplication::activeModalWidget()); });
    poll.start();
    open();
}

// Answers the print dialog that `open` brings up as an operator who prints to a PDF file:
// picks the file among the printers (it comes last), types `path` as its name, presses Print,
// and agrees when asked whether to replace a file of that name.
inline void answerPrintDialog(const std::function<void()> &open, const QString &path) {
    bool answered = false;
    answerModalWindows(open, [&](QWidget *modal) {
        if (auto *question = qobject_cast<QMessageBox *>(modal); question && answered) {
            if (QAbstractButton *yes = question->button(QMessageBox::Yes))
                yes->click();
            return;
        }
        auto *dialog = qobject_cast<QPrintDialog *>(modal);
        if (!dialog || !dialog->isVisible() || answered)
            return;
        answered = true;
        auto *printers = dialog->findChild<QComboBox *>(QStringLiteral("printers"));
        auto *fileName = dialog->findChild<QLineEdit *>(QStringLiteral("filename"));
        if (!printers || !fileName) {
            dialog->reject(); // not the dialog this was written for: print nothing
            return;
        }
        printers->setCurrentIndex(printers->count() - 1);
        fileName->setText(path);
        dialog->accept();
    });
}

// Cancels the print dialog that `open` brings up, as an operator who thinks better of
// printing. Tells whether one came up.
inline bool cancelPrintDialog(const std::function<void()> &open) {
    bool shown = false;
    answerModalWindows(open, [&](QWidget *modal) {
        auto *dialog = qobject_cast<QPrintDialog *>(modal);
        if (!dialog || !dialog->isVisible())
            return;
        shown = true;
        dialog->reject();
    });
    return shown;
}
