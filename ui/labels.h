#pragma once

#include <optional>

#include <QFont>
#include <QRect>
#include <QString>

class QColor;
class QLabel;
class QWidget;

// A transparent label in black, as all windows place their captions over their backgrounds.
QLabel *makeLabel(const QString &name, const QString &text, const QRect &geometry,
                  const QFont &font, QWidget *parent);

// The window title `Label8`: bold 19-pixel kai script, as wide as its text needs. Given
// `above`, the glyphs stand between `position` and that y, smaller if they must.
QLabel *makeTitle(const QString &text, const QPoint &position, QWidget *parent,
                  std::optional<int> above = std::nullopt);

void setTextColour(QLabel *label, const QColor &colour);
