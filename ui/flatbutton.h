#pragma once

#include <QToolButton>

// The picture buttons of all windows: flat, raised only under the mouse, never focused, so
// they are worked with the mouse alone and Enter never presses one.
class FlatButton : public QToolButton {
public:
    FlatButton(const QString &iconPath, const QSize &iconSize, const QRect &geometry,
               QWidget *parent);
    // A 32 × 32 picture with its caption beside it, as the windows' tool rows have them.
    FlatButton(const QString &iconPath, const QString &caption, const QRect &geometry,
               QWidget *parent);
};

// The small red square with a white cross that closes a window.
FlatButton *makeCloseButton(const QRect &geometry, QWidget *parent);

// The pictures of the windows' buttons.
namespace Icon {
inline const QString add = QStringLiteral(":/icons/add.png");           // green plus
inline const QString modify = QStringLiteral(":/icons/modify.png");     // sheet of writing
inline const QString toggle = QStringLiteral(":/icons/toggle.png");     // two chasing arrows
inline const QString save = QStringLiteral(":/icons/save.png");         // floppy disk
inline const QString cancel = QStringLiteral(":/icons/cancel.png");     // undo arrow
inline const QString prepare = QStringLiteral(":/icons/prepare.png");   // pencil on a sheet
inline const QString remove = QStringLiteral(":/icons/remove.png");     // red cross on a sheet
inline const QString next = QStringLiteral(":/icons/next.png");         // arrow right
inline const QString previous = QStringLiteral(":/icons/previous.png"); // arrow left
inline const QString printer = QStringLiteral(":/icons/printer.png");   // printer
inline const QString magnifier = QStringLiteral(":/icons/query.png");
} // namespace Icon
