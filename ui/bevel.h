#pragma once

#include <QWidget>

// An etched line or frame drawn over whatever lies beneath: a shadow line with a light line
// one pixel below and to the right. It never takes the mouse, so it can lie over buttons.
class Bevel : public QWidget {
public:
    enum class Shape { Frame, TopLine };

    Bevel(Shape shape, const QRect &geometry, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Shape m_shape;
};
