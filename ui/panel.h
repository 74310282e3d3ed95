#pragma once

#include <QWidget>

// A panel in the window's colour that holds a group of controls; disabling it disables them.
// Without a border it only groups; the month bar of the salary entry window has a raised
// inner edge inside a lowered outer one.
class Panel : public QWidget {
public:
    enum class Border { None, RaisedInLoweredOut };

    Panel(Border border, const QRect &geometry, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Border m_border;
};
