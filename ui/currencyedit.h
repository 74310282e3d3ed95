#pragma once

#include <QLineEdit>

// An amount of money. It is typed as a plain number and read, once the operator has moved on,
// in the one currency style every amount in the program shows, whatever the machine's locale.
class CurrencyEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CurrencyEdit(QWidget *parent = nullptr);

    double value() const;
    void setValue(double value);

signals:
    // The text changed, typed or set; switching between the typed and the shown form is not a
    // change.
    void changed();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString plainText() const;
    QString currencyText() const;
    QString shownText() const;
    void reformat(bool plain);

    double m_value = 0;
    bool m_plain = false;
    bool m_reformatting = false;
};
