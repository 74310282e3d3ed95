#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

// Moves a top-level window to the centre of the screen it is on.
void centreOnScreen(QWidget *window);

// Names a control and puts it at its place in its parent, as the window layouts give them:
//   e_mc = place(new QLineEdit(Panel1), "e_mc", {61, 71, 100, 18});
template <typename Control> Control *place(Control *control, const char *name, const QRect &at) {
    control->setObjectName(QLatin1String(name));
    control->setGeometry(at);
    return control;
}
