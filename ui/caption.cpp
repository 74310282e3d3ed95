#include "caption.h"

#include "labels.h"

#include <QLabel>

QLabel *makeCaption(const char *name, const QString &text, const QPoint &at, const QFont &font,
                    QWidget *parent) {
    QLabel *label = makeLabel(QLatin1String(name), text, QRect(at, QSize()), font, parent);
    label->adjustSize();
    return label;
}
