#include "messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace Messages {
namespace {

Responder &responder() {
    static Responder instance;
    return instance;
}

// Window systems that show titles (X11) get the application's display name added behind any
// title that does not already end with it ("Information — ..."). A box's title is given
// exactly, so its window is made while there is no display name to add.
void createWithExactTitle(QMessageBox &box) {
    const QString displayName = QGuiApplication::applicationDisplayName();
    QGuiApplication::setApplicationDisplayName(QString());
    box.winId();
    QGuiApplication::setApplicationDisplayName(displayName);
}

bool show(Kind kind, const QString &title, const QString &text) {
    if (responder())
        return responder()(Shown{kind, title, text});

    static const QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information,
                                              QMessageBox::Question, QMessageBox::Critical};
    QMessageBox box(icons[int(kind)], title, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    createWithExactTitle(box);
    if (kind == Kind::Confirmation) {
        QPushButton *yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
        box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.exec();
        return box.clickedButton() == yes;
    }
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
    return true;
}

} // namespace

QString applicationTitle() {
    return QStringLiteral("Marovel工资管理信息系统");
}

void plain(const QString &text) {
    show(Kind::Plain, applicationTitle(), text);
}

void information(const QString &text) {
    show(Kind::Information, QStringLiteral("Information"), text);
}

bool confirm(const QString &text) {
    return show(Kind::Confirmation, QStringLiteral("Confirm"), text);
}

void error(const QString &text) {
    show(Kind::Error, applicationTitle(), errorText(text));
}

QString errorText(const QString &text) {
    // A text that ends in its own punctuation ("！", "。", "）") has its stop already.
    if (!text.isEmpty() && text.back() > QChar('.') && !text.back().isPunct())
        return text + QChar('.');
    return text;
}

void setResponder(Responder newResponder) {
    responder() = std::move(newResponder);
}

} // namespace Messages
