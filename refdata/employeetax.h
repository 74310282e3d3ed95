#pragma once

#include "employeeprofile.h"
#include "moduleform.h"

class CurrencyEdit;
class QCheckBox;
class FlatButton;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;

// What an employee's contributions and income tax depend on: the two contribution bases and
// other deductions each month, from a month on, with their history, the special additional
// deductions (lines of a kind, each from one month through another, within the law's
// standards), the opening figures of a year begun before the program was used, the law's
// choices for a year and the tax relief of a month. Nothing is stored unless all of it is valid.
class EmployeeTaxDialog : public ModuleForm {
public:
    EmployeeTaxDialog(qint64 employee, const QString &name);

    void FormCreate() override;

    QLabel *l_xm = nullptr;
    CurrencyEdit *e_sbjs = nullptr;
    CurrencyEdit *e_gjjjs = nullptr;
    CurrencyEdit *e_qtkc = nullptr;
    QLineEdit *e_jsqsny = nullptr;  // the month the three above hold from; empty: from the first
    QTableWidget *t_jsls = nullptr; // their history: from month, the three amounts
    // Kind, monthly amount, from month, through month: the stored lines, a line for each kind
    // without one, and spare lines whose kind is chosen (a second child, a new rent).
    QTableWidget *t_zxkc = nullptr;
    QLineEdit *e_qcnd = nullptr;
    CurrencyEdit *e_qcsr = nullptr;
    CurrencyEdit *e_qcsqkc = nullptr;
    CurrencyEdit *e_qczxkc = nullptr;
    CurrencyEdit *e_qcyjse = nullptr;
    QSpinBox *e_qcys = nullptr;
    // The law's choices for the year in e_nd.
    QLineEdit *e_nd = nullptr;
    QCheckBox *c_nzjhb = nullptr; // the year-end bonus taxed with the pay
    QCheckBox *c_qnjc = nullptr;  // the whole year's basic deduction from January
    QCheckBox *c_ljjc = nullptr;  // the basic deductions since January at the first pay
    // The tax relief of the month in e_jmny.
    QLineEdit *e_jmny = nullptr;
    CurrencyEdit *e_jmse = nullptr;
    FlatButton *b_ok = nullptr;
    FlatButton *b_cancel = nullptr;

    static constexpr int spareLines = 3;

private:
    void showStored();
    void showBases(const DatedBases &bases);
    std::optional<DatedBases> basesTyped();
    void showDeductions(const std::vector<SpecialDeduction> &stored);
    QString kindAt(int row) const;
    void showYear();
    void keepYear();
    void showRelief();
    void keepRelief();
    // The choices made, checked; a message and nothing when they are wrong.
    std::optional<YearChoices> chosenYears();
    void b_okClick();

    qint64 m_employee;
    std::optional<EmployeeProfile> m_asRead;
    YearChoices m_years;
    TaxRelief m_relief;
};
