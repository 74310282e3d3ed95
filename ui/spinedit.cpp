#include "spinedit.h"

#include "focusleave.h"

#include <QApplication>
#include <QDate>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionComplex>

namespace {

// The windows give year boxes 44 pixels; the style's own arrows are so wide that a year would
// not show whole beside them. This style draws them narrower and gives the text the room.
class NarrowArrowsStyle : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
                         const QWidget *widget) const override {
        QRect rect = QProxyStyle::subControlRect(control, option, part, widget);
        if (control != CC_SpinBox)
            return rect;
        const QRect arrows = QProxyStyle::subControlRect(control, option, SC_SpinBoxUp, widget);
        const int left = arrows.right() - arrowWidth + 1;
        if (part == SC_SpinBoxUp || part == SC_SpinBoxDown)
            rect.setLeft(left);
        else if (part == SC_SpinBoxEditField)
            rect.setRight(left - 1);
        return rect;
    }

private:
    static constexpr int arrowWidth = 12;
};

QStyle *narrowArrowsStyle() {
    static QPointer<NarrowArrowsStyle> style;
    if (!style) {
        style = new NarrowArrowsStyle;
        style->setParent(qApp); // lives as long as the application whose style it narrows
    }
    return style;
}

} // namespace

SpinEdit::SpinEdit(int minimum, int maximum, QWidget *parent)
    : QAbstractSpinBox(parent), m_minimum(minimum), m_maximum(maximum) {
    connect(lineEdit(), &QLineEdit::inputRejected, this, [] { QApplication::beep(); });
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] {
        update(); // the arrows' enabled look follows the value
        emit changed();
    });
    setStyle(narrowArrowsStyle());
    setValue(minimum);
}

void SpinEdit::setRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
    update();
}

int SpinEdit::value() const {
    return bounded(typedValue());
}

int SpinEdit::typedValue() const {
    bool ok = false;
    const int typed = lineEdit()->text().trimmed().toInt(&ok);
    return ok ? typed : m_minimum;
}

void SpinEdit::setValue(int value) {
    lineEdit()->setText(QString::number(bounded(value)));
}

// From a number typed outside the range either step goes to the nearest bound: the operator
// asked for a number in the range, and the nearest one is what the typing was heading for.
void SpinEdit::stepBy(int steps) {
    const int typed = typedValue();
    setValue(typed == bounded(typed) ? typed + steps : typed);
}

// Any text made of the characters of a number may be typed; whether it is one, and in range, is
// settled when the box is left.
QValidator::State SpinEdit::validate(QString &input, int &) const {
    const QChar decimalPoint = locale().decimalPoint().front();
    for (const QChar c : input)
        if ((c < QChar(u'0') || c > QChar(u'9')) && c != QChar('+') && c != QChar('-') &&
            c != decimalPoint)
            return QValidator::Invalid;
    return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const {
    const int typed = typedValue();
    if (typed != bounded(typed))
        return StepUpEnabled | StepDownEnabled;
    StepEnabled enabled = StepNone;
    if (typed < m_maximum)
        enabled |= StepUpEnabled;
    if (typed > m_minimum)
        enabled |= StepDownEnabled;
    return enabled;
}

void SpinEdit::focusOutEvent(QFocusEvent *event) {
    if (const int typed = typedValue(); isLeaving(event) && typed != bounded(typed))
        setValue(typed);
    QAbstractSpinBox::focusOutEvent(event);
}

void showThisMonth(SpinEdit *year, SpinEdit *month) {
    const QDate today = QDate::currentDate();
    year->setValue(today.year());
    month->setValue(today.month());
}
