#pragma once

#include "computationsettings.h"
#include "moduleform.h"

#include <vector>

class CurrencyEdit;
class FlatButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

// How one salary item is computed: by hand, as a percentage of one of the employee's bases
// (brought between a floor and a cap, all three from a month on, with their history), or, for one
// deduction item, as the income tax with the withholding table and the monthly deduction from the
// month they start. An earning may be the year-end one-off bonus, taxed apart, and one deduction
// may take that bonus's tax. Whether an earning is taxed and whether a deduction is taken before
// tax. Nothing is stored unless all of it is valid.
class ItemComputationDialog : public ModuleForm {
public:
    ItemComputationDialog(qint64 item, const QString &name, bool deduction);

    void FormCreate() override;

    QLabel *l_mc = nullptr;
    QComboBox *c_jsfs = nullptr;
    QLineEdit *e_bl = nullptr;
    QComboBox *c_jsjs = nullptr;
    CurrencyEdit *e_xx = nullptr;
    CurrencyEdit *e_sx = nullptr;
    QLineEdit *e_blqsny = nullptr;  // the month the rate, floor and cap hold from; empty: the first
    QTableWidget *t_blls = nullptr; // their history: from month, rate, floor, cap
    QCheckBox *c_sqkc = nullptr;    // deduction items: taken before tax
    QCheckBox *c_js = nullptr;      // earning items: taxed
    QLineEdit *e_qsny = nullptr;
    CurrencyEdit *e_jcfy = nullptr;
    QTableWidget *t_sl = nullptr;
    FlatButton *b_ok = nullptr;
    FlatButton *b_cancel = nullptr;

private:
    Method chosenMethod() const;
    void c_jsfsChange();
    void b_okClick();
    void showStored();
    void showRates(const DatedSetting<ContributionRule> &rates);
    // The rates as read with the typed ones set from their month; a message and nothing when
    // the month is wrong or the change would rewrite the rates of stored months.
    std::optional<DatedSetting<ContributionRule>> ratesTyped(const ContributionRule &typed);
    // The table's lines, checked; a message and nothing when a line is wrong.
    std::optional<std::vector<TaxBracket>> readTaxTable();

    qint64 m_item;
    bool m_deduction;
    std::optional<ItemMethod> m_methodAsRead;
    TaxLawFrom m_lawAsRead;
};
