#pragma once

#include <QToolButton>

// The picture buttons of all windows: flat, raised only under the mouse, never focused, so
// they are worked with the mouse alone and Enter never presses one.
class FlatButton : public QToolButton {
public:
    FlatButton(const QString &iconPath, const QSize &iconSize, const QRect &geometry,
               QWidget *parent);
};

// The small red square with a white cross that closes a window.
FlatButton *makeCloseButton(const QRect &geometry, QWidget *parent);
