#pragma once

#include "moduleform.h"

class DBGrid;
class QCheckBox;
class SpinEdit;

// The audit trail (审计记录), newest first: each save, adjustment, deletion, tax
// recomputation, close, reopen and export of a month, who did it and when, and the month's
// row count and totals before and after. It shows the month of its boxes, or every month.
class AuditTrailWindow : public ModuleForm {
public:
    AuditTrailWindow();

    void FormCreate() override;

    SpinEdit *e_n = nullptr;
    SpinEdit *e_y = nullptr;
    QCheckBox *c_all = nullptr;
    DBGrid *RxDBGrid1 = nullptr;

private:
    void listRows();
};
