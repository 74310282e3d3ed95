#include "dateedit.h"

#include "focusleave.h"
#include "messages.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTimer>
#include <QValidator>
#include <utility>

namespace {

constexpr int length = 10;
constexpr QChar blank(u' ');
constexpr QChar shownBlank(u'_');
constexpr QChar hyphen(u'-');
constexpr int monthStart = 5; // "yyyy-" before it
constexpr int dayStart = 8;   // "yyyy-mm-" before it

bool isDigit(QChar c) {
    return c >= QChar(u'0') && c <= QChar(u'9');
}

bool isEditable(int position) {
    return position != monthStart - 1 && position != dayStart - 1;
}

// The first digit of the month and of the day may be left out.
bool isOptional(int position) {
    return position == monthStart || position == dayStart;
}

bool isShownForm(const QString &shown) {
    if (shown.size() != length)
        return false;
    for (int position = 0; position < length; ++position) {
        const QChar c = shown[position];
        if (isEditable(position) ? !isDigit(c) && c != shownBlank : c != hyphen)
            return false;
    }
    return true;
}

int nextEditable(int position) {
    while (position < length && !isEditable(position))
        ++position;
    return position;
}

// Digits where they stand, blanks in the other editable positions.
QString storedForm(const QString &text) {
    QString stored(length, blank);
    for (int position = 0; position < length; ++position) {
        if (!isEditable(position))
            stored[position] = hyphen;
        else if (position < text.size() && isDigit(text[position]))
            stored[position] = text[position];
    }
    return stored;
}

QString shownForm(const QString &text) {
    return storedForm(text).replace(blank, shownBlank);
}

bool isComplete(const QString &stored) {
    for (int position = 0; position < length; ++position)
        if (isEditable(position) && !isOptional(position) && stored[position] == blank)
            return false;
    return true;
}

// Keys are handled by the box itself; this keeps pasted, dropped and cut text from breaking
// the fixed positions.
class ShownFormValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &) const override {
        return isShownForm(input) ? Acceptable : Invalid;
    }
};

} // namespace

DateEdit::DateEdit(QWidget *parent) : QLineEdit(parent) {
    // Digits must arrive as key presses to land in their positions.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setValidator(new ShownFormValidator(this));
    connect(this, &QLineEdit::inputRejected, this, [] { QApplication::beep(); });
    setDateText(QString());
}

QString DateEdit::dateText() const {
    return storedForm(text());
}

void DateEdit::setDateText(const QString &text) {
    setText(shownForm(text));
    m_entryText = dateText();
    m_typedTo = -1;
    m_dayBegun = false;
}

void DateEdit::focusInEvent(QFocusEvent *event) {
    // Coming back from another window or a refused leave, the box has not been left.
    if (!m_entered)
        m_entryText = dateText();
    m_entered = true;
    QLineEdit::focusInEvent(event);
}

void DateEdit::focusOutEvent(QFocusEvent *event) {
    QLineEdit::focusOutEvent(event);
    if (!m_entered || !isLeaving(event))
        return;
    endOneDigitDay();
    if (dateText() != m_entryText && !isComplete(dateText()) && isVisible() && isEnabled()) {
        // Taking the focus back while it is being handed over would leave the new widget
        // half-entered; until it is back, the widget that took it must not act on the click
        // that gave it the focus.
        LeaveRefusal::begin(this);
        QTimer::singleShot(0, this, &DateEdit::refuseLeaving);
        return;
    }
    m_entered = false;
}

void DateEdit::refuseLeaving() {
    QApplication::beep();
    Messages::error(QStringLiteral("Invalid input value.  Use escape key to abandon changes"));
    setFocus(Qt::OtherFocusReason);
    LeaveRefusal::end();
}

void DateEdit::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
        QLineEdit::keyPressEvent(event); // a modifier on its own moves nothing
        return;
    }
    const bool carried = cursorPosition() == m_typedTo && !hasSelectedText();
    m_typedTo = -1;
    m_dayBegun = false;
    switch (event->key()) {
    case Qt::Key_Escape:
        if (dateText() == m_entryText)
            break; // nothing to abandon: the window may want the key
        setText(shownForm(m_entryText));
        return;
    case Qt::Key_Backspace:
        erase(-1);
        return;
    case Qt::Key_Delete:
        erase(+1);
        return;
    }
    const QString typed = event->text();
    const bool shortcut =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (shortcut || typed.size() != 1 || !typed.front().isPrint()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (isDigit(typed.front()))
        typeDigit(typed.front(), carried);
    else if (typed.front() == blank)
        typeBlank();
    else if (QStringLiteral("-/.").contains(typed.front()))
        skipToNextPart();
    else
        QApplication::beep();
}

// Digits overwrite, and the cursor steps over the hyphens, so a date can be typed straight
// through as "19800305" or with its hyphens as "1980-03-05". The first digit typed into a
// month or day on the way through begins that part afresh: the digit after it is cleared, so
// typing over a date leaves none of the old one behind.
void DateEdit::typeDigit(QChar digit, bool carried) {
    QString shown = text();
    const int position = nextEditable(clearSelection(shown));
    if (position == length) {
        QApplication::beep();
        return;
    }
    shown[position] = digit;
    const bool begun = carried && isOptional(position);
    if (begun)
        shown[position + 1] = shownBlank;
    setTyped(shown, nextEditable(position + 1));
    m_dayBegun = begun && position == dayStart;
}

// A blank is typed into an optional position only; a required one must get a digit.
void DateEdit::typeBlank() {
    const int position = nextEditable(hasSelectedText() ? selectionStart() : cursorPosition());
    if (position == length || !isOptional(position)) {
        QApplication::beep();
        return;
    }
    QString shown = text();
    clearSelection(shown);
    shown[position] = shownBlank;
    setTyped(shown, position + 1);
}

// A separator ends the year or the month. One typed right after a single month digit says the
// month has one digit: that digit moves behind the blank before the operator's eyes ("1980-3-"
// shows "1980-_3-"). At the start of a part, where typing has just carried the cursor, it is the
// hyphen already passed; what is typed next begins the part. The day is ended by leaving the
// box, not by a separator.
void DateEdit::skipToNextPart() {
    const int position = cursorPosition();
    if (position == monthStart || position == dayStart) {
        setTyped(text(), position);
        return;
    }
    if (position > dayStart) {
        QApplication::beep();
        return;
    }
    QString shown = text();
    if (position == monthStart + 1 && shown[monthStart + 1] == shownBlank)
        std::swap(shown[monthStart], shown[monthStart + 1]);
    setTyped(shown, position < monthStart ? monthStart : dayStart);
}

// Leaving the box right after typing one digit into the day ends the day there.
void DateEdit::endOneDigitDay() {
    QString shown = text();
    if (!std::exchange(m_dayBegun, false) || !isDigit(shown[dayStart]) ||
        shown[dayStart + 1] != shownBlank)
        return;
    std::swap(shown[dayStart], shown[dayStart + 1]);
    setText(shown);
}

// Clears one position, or the selection, without moving the positions after it.
void DateEdit::erase(int direction) {
    QString shown = text();
    int position = cursorPosition();
    if (hasSelectedText()) {
        position = clearSelection(shown);
    } else {
        if (direction < 0)
            --position;
        while (position >= 0 && position < length && !isEditable(position))
            position += direction;
        if (position < 0 || position >= length)
            return;
        shown[position] = shownBlank;
        if (direction > 0)
            ++position;
    }
    setShown(shown, position);
}

int DateEdit::clearSelection(QString &shown) const {
    if (!hasSelectedText())
        return cursorPosition();
    for (int position = selectionStart(); position < selectionEnd(); ++position)
        if (isEditable(position))
            shown[position] = shownBlank;
    return selectionStart();
}

void DateEdit::setShown(const QString &shown, int cursor) {
    setText(shown);
    setCursorPosition(cursor);
}

void DateEdit::setTyped(const QString &shown, int cursor) {
    setShown(shown, cursor);
    m_typedTo = cursor;
}
