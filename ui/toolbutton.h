#pragma once

#include "flatbutton.h"

// A named flat button with a 32 × 32 picture and its caption beside it, at its place:
//   SpeedButton8 = makeToolButton("SpeedButton8", Icon::add, "添加", {239, 34, 74, 40}, this);
FlatButton *makeToolButton(const char *name, const QString &icon, const QString &caption,
                           const QRect &at, QWidget *parent);
