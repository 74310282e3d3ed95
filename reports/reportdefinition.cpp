#include "reportdefinition.h"

using Kind = ReportElement::Kind;

ReportElement rectangleElement(const QRect &box) {
    return {Kind::Rectangle, box, {}, {}};
}

ReportElement labelElement(const QString &text, const QRect &box, TextStyle style,
                           Qt::Alignment alignment) {
    return {Kind::Label, box, text, {}, style, alignment};
}

ReportElement fieldElement(const QString &field, const QRect &box, TextStyle style,
                           Qt::Alignment alignment, bool amountMask) {
    return {Kind::FieldText, box, {}, field, style, alignment, amountMask};
}

ReportElement sumElement(const QString &field, const QRect &box, Qt::Alignment alignment) {
    return {Kind::SumText, box, {}, field, TextStyle::Value, alignment, true};
}

ReportElement titleElement(int y) {
    return {Kind::Title, QRect(0, y, 0, 0), {}, {}, TextStyle::Title, Qt::AlignHCenter};
}
