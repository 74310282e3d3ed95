#include "currencyedit.h"

#include "focusleave.h"
#include "textfit.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QStyleOptionFrame>

namespace {

// QLineEdit's own space between its frame's contents and its text, left and right.
constexpr int horizontalTextMargin = 2;

// What the validator lets through always reads; only an empty text or a lone minus is no
// number, and those read as 0.
Currency parsed(const QString &plain) {
    return Currency::fromText(plain).value_or(Currency()).roundedToFen();
}

// "1234567.80" → "1,234,567.80"
QString grouped(const QString &fixed2) {
    QString text = fixed2;
    for (qsizetype at = text.indexOf(QChar('.')) - 3; at > 0; at -= 3)
        text.insert(at, QChar(','));
    return text;
}

} // namespace

CurrencyEdit::CurrencyEdit(QWidget *parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Pasted and dropped text is checked too. The shown currency form fails the check as well,
    // which must not sound: only a refused edit of the typed form does.
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral(R"(-?\d{0,%1}(\.\d{0,2})?)").arg(maxWholeDigits)), this));
    connect(this, &QLineEdit::inputRejected, this, [this] {
        if (m_plain)
            QApplication::beep();
    });
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!m_reformatting)
            emit changed();
    });
    reformat(false);
}

Currency CurrencyEdit::value() const {
    return m_plain ? parsed(text()) : m_value;
}

void CurrencyEdit::setValue(Currency value) {
    m_value = value.roundedToFen();
    setText(shownText());
}

QString CurrencyEdit::plainText() const {
    if (m_value == Currency())
        return {};
    return m_value.toPlainText();
}

// Qt's own Chinese currency format puts a negative amount in brackets; the program's reports
// and windows write a leading minus sign instead.
QString CurrencyEdit::currencyText() const {
    const QString fixed = m_value.toFixed2();
    return fixed.startsWith(QChar('-')) ? QStringLiteral("-¥") + grouped(fixed.mid(1))
                                        : QStringLiteral("¥") + grouped(fixed);
}

QString CurrencyEdit::shownText() const {
    return m_plain ? plainText() : currencyText();
}

void CurrencyEdit::reformat(bool plain) {
    m_plain = plain;
    m_reformatting = true;
    setText(shownText());
    m_reformatting = false;
}

void CurrencyEdit::storeTyped() {
    m_value = parsed(text());
    reformat(false);
}

// A box disabled while it was being typed in keeps what was typed and shows it in the
// currency form, also when its window was not active and so the box never lost the focus.
void CurrencyEdit::changeEvent(QEvent *event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled() && m_plain)
        storeTyped();
    QLineEdit::changeEvent(event);
}

void CurrencyEdit::focusInEvent(QFocusEvent *event) {
    if (!m_plain && isEnabled())
        reformat(true);
    QLineEdit::focusInEvent(event);
}

void CurrencyEdit::focusOutEvent(QFocusEvent *event) {
    if (isLeaving(event) && m_plain)
        storeTyped();
    QLineEdit::focusOutEvent(event);
}

void CurrencyEdit::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape && m_plain && text() != plainText()) {
        setText(plainText());
        return;
    }
    QLineEdit::keyPressEvent(event);
}

// QLineEdit scrolls a text wider than the box so that its end shows, which cuts the currency
// sign and leading digits off a large amount. The shown form is never edited, so it can be
// drawn by hand, fitted, inside the frame QLineEdit would draw.
void CurrencyEdit::paintEvent(QPaintEvent *event) {
    QStyleOptionFrame frame;
    initStyleOption(&frame);
    QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &frame, this);
    contents = contents.marginsRemoved(textMargins());
    // QLineEdit's own inner margins around its text.
    contents.adjust(horizontalTextMargin, 0, -horizontalTextMargin, 0);
    if (m_plain || QFontMetricsF(font()).horizontalAdvance(text()) <= contents.width()) {
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &painter, this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    drawFittedText(painter, contents, alignment(), text());
}
