#include "labels.h"

#include "fonts.h"

#include <QLabel>

QLabel *makeLabel(const QString &name, const QString &text, const QRect &geometry,
                  const QFont &font, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAttribute(Qt::WA_TranslucentBackground);
    setTextColour(label, Qt::black);
    return label;
}

QLabel *makeTitle(const QString &text, const QPoint &position, QWidget *parent) {
    QLabel *title = makeLabel(QStringLiteral("Label8"), text, QRect(position, QSize()),
                              pixelFont(FontFamily::kai, 19, true), parent);
    title->adjustSize(); // the whole title shows, whatever the installed font's widths
    return title;
}

void setTextColour(QLabel *label, const QColor &colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}
