#pragma once

#include "employeeprofile.h"
#include "moduleform.h"

class CurrencyEdit;
class FlatButton;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;

// What an employee's contributions and income tax depend on: the two contribution bases and
// other deductions each month, from a month on, with their history, the special additional
// deductions (one line per kind, from one month through another) and the opening figures of a year
// begun before the program was used. Nothing is stored unless all of it is valid.
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
    QTableWidget *t_zxkc = nullptr; // kind, monthly amount, from month, through month
    QLineEdit *e_qcnd = nullptr;
    CurrencyEdit *e_qcsr = nullptr;
    CurrencyEdit *e_qcsqkc = nullptr;
    CurrencyEdit *e_qczxkc = nullptr;
    CurrencyEdit *e_qcyjse = nullptr;
    QSpinBox *e_qcys = nullptr;
    FlatButton *b_ok = nullptr;
    FlatButton *b_cancel = nullptr;

private:
    void showStored();
    void showBases(const DatedBases &bases);
    std::optional<DatedBases> basesTyped();
    void b_okClick();

    qint64 m_employee;
    std::optional<EmployeeProfile> m_asRead;
};
