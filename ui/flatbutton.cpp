#include "flatbutton.h"

FlatButton::FlatButton(const QString &iconPath, const QSize &iconSize, const QRect &geometry,
                       QWidget *parent)
    : QToolButton(parent) {
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setIcon(QIcon(iconPath));
    setIconSize(iconSize);
    setGeometry(geometry);
}

FlatButton::FlatButton(const QString &iconPath, const QString &caption, const QRect &geometry,
                       QWidget *parent)
    : FlatButton(iconPath, QSize(32, 32), geometry, parent) {
    setText(caption);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
}

FlatButton *makeCloseButton(const QRect &geometry, QWidget *parent) {
    auto *button =
        new FlatButton(QStringLiteral(":/icons/close.png"), QSize(18, 17), geometry, parent);
    button->setObjectName(QStringLiteral("SpeedButton3"));
    return button;
}
