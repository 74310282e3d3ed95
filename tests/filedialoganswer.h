#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QTimer>
#include <functional>

// Answers the file dialog that `open` brings up with `path`, as an operator who types the
// whole path into its file-name box and presses Save. Returns the file name the dialog
// suggested.
//
// The dialog takes what its file-name box holds, and writes a chosen name into that box only
// while the box has no focus, which it gets once the dialog is active: a name given through
// selectFile() may or may not arrive. Writing the box itself, and clearing any selection of
// its list, leaves the dialog one possible answer, whenever it is looked at. The dialog is
// waited for as a condition (being the active modal window), never for a length of time.
inline QString answerFileDialog(const std::function<void()> &open, const QString &path) {
    QString suggested;
    bool answered = false;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible() || answered)
            return;
        answered = true;
        poll.stop();
        auto *fileName = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        auto *list = dialog->findChild<QListView *>(QStringLiteral("listView"));
        if (!fileName || !list) {
            dialog->reject(); // not the dialog this was written for: answer nothing
            return;
        }
        suggested = fileName->text();
        list->clearSelection();
        fileName->setText(path);
        if (dialog->selectedFiles() != QStringList{QFileInfo(path).absoluteFilePath()}) {
            dialog->reject();
            return;
        }
        static_cast<QDialog *>(dialog)->accept(); // the file dialog's own accept, public here
    });
    poll.start();
    open();
    return suggested;
}
