#include "currencyedit.h"

#include "focusleave.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QRegularExpressionValidator>
#include <cmath>

namespace {

// The box only ever holds whole fen, so what is set, shown and read back agree.
double roundedToCents(double value) {
    return std::round(value * 100) / 100;
}

double parsed(const QString &plain) {
    bool ok = false;
    const double value = QLocale::c().toDouble(plain, &ok);
    return ok ? roundedToCents(value) : 0.0;
}

} // namespace

CurrencyEdit::CurrencyEdit(QWidget *parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Pasted and dropped text is checked too. The shown currency form fails the check as well,
    // which must not sound: only a refused edit of the typed form does.
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral(R"(-?\d*(\.\d{0,2})?)")), this));
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

double CurrencyEdit::value() const {
    return m_plain ? parsed(text()) : m_value;
}

void CurrencyEdit::setValue(double value) {
    m_value = roundedToCents(value);
    setText(shownText());
}

QString CurrencyEdit::plainText() const {
    if (m_value == 0)
        return {};
    QString text = QString::number(m_value, 'f', 2);
    while (text.endsWith(QChar('0')))
        text.chop(1);
    if (text.endsWith(QChar('.')))
        text.chop(1);
    return text;
}

// Qt's own Chinese currency format puts a negative amount in brackets; the program's reports
// and windows write a leading minus sign instead.
QString CurrencyEdit::currencyText() const {
    static const QLocale china(QLocale::Chinese, QLocale::China);
    const QString amount = QStringLiteral("¥") + china.toString(std::abs(m_value), 'f', 2);
    return m_value < 0 ? QStringLiteral("-") + amount : amount;
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

void CurrencyEdit::focusInEvent(QFocusEvent *event) {
    if (!m_plain)
        reformat(true);
    QLineEdit::focusInEvent(event);
}

void CurrencyEdit::focusOutEvent(QFocusEvent *event) {
    if (isLeaving(event) && m_plain) {
        m_value = parsed(text());
        reformat(false);
    }
    QLineEdit::focusOutEvent(event);
}

void CurrencyEdit::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape && m_plain && text() != plainText()) {
        setText(plainText());
        return;
    }
    QLineEdit::keyPressEvent(event);
}
