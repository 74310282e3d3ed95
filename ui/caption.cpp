#include "caption.h"

#include "labels.h"

#include <QLabel>

QLabel *makeCaption(const QString &name, const QString &text, const QPoint &at, const QFont &font,
                    QWidget *parent) {
    QLabel *label = makeLabel(name, text, QRect(at, QSize()), font, parent);
    label->adjustSize();
    return label;
}
