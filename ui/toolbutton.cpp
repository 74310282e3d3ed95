#include "toolbutton.h"

#include "placement.h"

FlatButton *makeToolButton(const char *name, const QString &icon, const QString &caption,
                           const QRect &at, QWidget *parent) {
    return place(new FlatButton(icon, caption, at, parent), name, at);
}
