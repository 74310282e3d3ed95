#pragma once

#include "employeeidentity.h"
#include "moduleform.h"

#include <optional>

class FlatButton;
class QComboBox;
class QLabel;
class QLineEdit;

// An employee's identity document, bank account and mobile number, as the tax declaration and
// the bank's payment file need them. A value the tax client or the bank would refuse is named
// and nothing is stored.
class EmployeeIdentityDialog : public ModuleForm {
public:
    // `sex` and `birthDate` as the employee list holds them: a resident identity card's
    // number must agree with them.
    EmployeeIdentityDialog(qint64 employee, const QString &name, const QString &sex,
                           const QString &birthDate);

    void FormCreate() override;

    QLabel *l_xm = nullptr;
    QComboBox *c_zjlx = nullptr;
    QLineEdit *e_zjhm = nullptr;
    QLineEdit *e_gj = nullptr;
    QLineEdit *e_khyh = nullptr;
    QLineEdit *e_yhzh = nullptr;
    QLineEdit *e_sjhm = nullptr;
    FlatButton *b_ok = nullptr;
    FlatButton *b_cancel = nullptr;

private:
    void showStored();
    void b_okClick();
    // Tells the clerk `problem`, if any, and puts the focus on `box`: true when there was one.
    bool refused(const std::optional<QString> &problem, QLineEdit *box);

    qint64 m_employee;
    QString m_sex;
    QString m_birthDate;
    std::optional<EmployeeIdentity> m_asRead;
};
