#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QTimer>
#include <functional>

// Answers the print dialog that `open` brings up as an operator who prints to a PDF file:
// picks the file among the printers (it comes last), types `path` as its name, presses Print,
// and agrees when asked whether to replace a file of that name. The dialogs are waited for as
// conditions (being the active modal window), never for a length of time.
inline void answerPrintDialog(const std::function<void()> &open, const QString &path) {
    bool answered = false;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
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
    poll.start();
    open();
}
