#pragma once

#include <QLineEdit>

// A date typed into fixed positions, "yyyy-mm-dd", as the date columns store it. The year and
// the last digit of month and day are required, the first digit of month and day optional: a
// one-digit month or day stands behind a blank ("1980- 3- 5"). Empty positions show as "_" and
// are stored as blanks, so an empty box reads "    -  -  ". A digit is stored in the position
// it was typed into; the box never moves it on its own.
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
    void typeDigit(QChar digit);
    void skipToNextPart();
    void erase(int direction);
    int clearSelection(QString &shown) const;
    void setShown(const QString &shown, int cursor);
    void refuseLeaving();

    QString m_entryText;
    bool m_entered = false;
};
