#pragma once

#include <QAbstractSpinBox>

// A whole number between a minimum and a maximum, such as a year or a month. Unlike QSpinBox it
// lets the operator type a number outside the range on the way to one inside it, and only
// brings it back into the range when the box is left, or when Up or Down is pressed.
class SpinEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    SpinEdit(int minimum, int maximum, QWidget *parent = nullptr);

    void setRange(int minimum, int maximum);

    // The number the box stands for: as typed, brought into the range, whether or not the box
    // has been left yet (a button that takes no focus must not act on "202" or "13").
    int value() const;
    // The number as typed, even outside the range; text that is no number reads as the minimum.
    int typedValue() const;
    void setValue(int value);

    void stepBy(int steps) override;
    QValidator::State validate(QString &input, int &pos) const override;

signals:
    void changed();

protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    int bounded(int value) const { return qBound(m_minimum, value, m_maximum); }

    int m_minimum;
    int m_maximum;
};

// Puts this month into a pair of year and month boxes, as every window showing a month starts.
void showThisMonth(SpinEdit *year, SpinEdit *month);
