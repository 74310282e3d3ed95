#pragma once

#include <QFont>
#include <QPoint>
#include <QString>

class QLabel;
class QWidget;

// A named black caption placed by its top-left corner, as large as its text in the given font.
QLabel *makeCaption(const QString &name, const QString &text, const QPoint &at, const QFont &font,
                    QWidget *parent);
