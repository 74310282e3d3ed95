#pragma once

#include "currency.h"

#include <QLineEdit>

// An amount of money. It is typed as a plain number and read, once the operator has moved on,
// in the one currency style every amount in the program shows, whatever the machine's locale.
// It holds whole fen: what is set, shown and read back agree. Shown, an amount too wide for the
// box is drawn condensed, like the grids draw it, never cut.
class CurrencyEdit : public QLineEdit {
    Q_OBJECT
public:
    // Whole yuan digits the box takes. Forty amounts this large still add up exactly, so no
    // total over the boxes of a window can leave Currency's range.
    static constexpr int maxWholeDigits = 13;

    explicit CurrencyEdit(QWidget *parent = nullptr);

    // The value as typed so far while the box is being worked on; the stored one otherwise.
    Currency value() const;
    void setValue(Currency value);

signals:
    // The text changed, typed or set; switching between the typed and the shown form is not a
    // change.
    void changed();

protected:
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QString plainText() const;
    QString currencyText() const;
    QString shownText() const;
    void reformat(bool plain);
    void storeTyped();

    Currency m_value;
    bool m_plain = false;
    bool m_reformatting = false;
};
