#pragma once

#include "moduleform.h"

class FlatButton;
class QLabel;
class QLineEdit;
class SpinEdit;

// The tax declaration of a saved month, as the tax client imports it: in the program's own
// layout or in the layout of a workbook the client exported (its template).
class TaxDeclarationDialog : public ModuleForm {
public:
    TaxDeclarationDialog();

    void FormCreate() override;

    SpinEdit *e_n = nullptr;   // year
    SpinEdit *e_y = nullptr;   // month
    QLineEdit *e_mb = nullptr; // the client's template; empty: the program's own layout
    FlatButton *b_mb = nullptr;
    FlatButton *b_dy = nullptr; // the item-to-column dialog
    FlatButton *b_dc = nullptr;

private:
    void b_mbClick();
    void b_dyClick();
    void b_dcClick();
};
