#pragma once

#include "moduleform.h"

class FlatButton;
class QLabel;
class QLineEdit;
class SpinEdit;

// Closing (结账) and reopening (反结账) a month, offered from the context menus of the salary
// entry window and of the main window. Reopening asks why; the reason goes to the audit trail.
class MonthCloseDialog : public ModuleForm {
public:
    // Opens on `month` (a month key).
    explicit MonthCloseDialog(const QString &month);

    void FormCreate() override;

    SpinEdit *e_n = nullptr;
    SpinEdit *e_y = nullptr;
    QLabel *l_zt = nullptr;
    QLineEdit *e_yy = nullptr;
    FlatButton *b_jz = nullptr;
    FlatButton *b_fjz = nullptr;

private:
    QString selectedMonth() const;
    void showStatus();
    void b_jzClick();
    void b_fjzClick();
};
