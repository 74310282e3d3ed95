#pragma once

#include "moduleform.h"
#include "reportdefinition.h"

class FlatButton;
class QLabel;
class SpinEdit;

// Pay slips: previews one two-row slip for every salary row of the chosen month, ordered by
// department, ready to print.
class Tfrm_gzt : public ModuleForm {
    Q_OBJECT
public:
    Tfrm_gzt();

    void FormCreate() override;

    QLabel *Label1;
    SpinEdit *e_n;
    SpinEdit *e_y;
    FlatButton *SpeedButton8;
    ReportDefinition QuickRep1;

private:
    void SpeedButton8Click();
};
