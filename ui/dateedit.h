#pragma once

#include <QLineEdit>

// A date typed into fixed positions, "yyyy-mm-dd", as the date columns store it. The year and
// the last digit of month and day are required, the first digit of month and day optional: a
// one-digit month or day stands behind a blank ("1980- 3- 5"). Empty positions show as "_" and
// are stored as blanks, so an empty box reads "    -  -  ".
//
// Typing fills the positions one after the other, over whatever they held: a digit where it is
// typed, a blank (space) in an optional position. A month or day begun by typing and ended
// after one digit, by a hyphen for the month or by leaving the box for the day, has one digit:
// it moves behind the blank. So "1980-3-5", "1980 3 5" and "1980-03-05" all give a date.
// Anywhere else a digit stays where the operator put it, so a missing digit is seen, not
// guessed.
//
// Once the text has been changed the box cannot be left with a required position empty: it
// beeps, says so and takes the focus back, and a click that tried to leave it does not act.
// Escape brings back the text it had when it was entered.
class DateEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DateEdit(QWidget *parent = nullptr);

    // The stored form; QLineEdit's text() is the form shown, with "_" for empty positions.
    QString dateText() const;
    void setDateText(const QString &text);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void typeDigit(QChar digit, bool carried);
    void typeBlank();
    void skipToNextPart();
    void erase(int direction);
    int clearSelection(QString &shown) const;
    void setShown(const QString &shown, int cursor);
    void setTyped(const QString &shown, int cursor);
    void endOneDigitDay();
    void refuseLeaving();

    QString m_entryText;
    bool m_entered = false;
    // Where typing left the cursor; the next key typed there goes on with the same date.
    int m_typedTo = -1;
    // The day was begun by typing and has one digit so far.
    bool m_dayBegun = false;
};
