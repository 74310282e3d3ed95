#pragma once

#include "moduleform.h"
#include "monthrange.h"
#include "reportdefinition.h"

class DBGrid;
class FlatButton;
class QRadioButton;

// Salary statistics: the stored salaries of a range of months totalled per month or per
// employee, shown in a grid and previewed under a title that names the range.
class Tfrm_gztj : public ModuleForm, public MonthRange {
    Q_OBJECT
public:
    Tfrm_gztj();

    void FormCreate() override;

    QRadioButton *r_1;
    QRadioButton *r_2;
    FlatButton *SpeedButton1;
    FlatButton *SpeedButton8;
    DBGrid *RxDBGrid1;          // per employee
    DBGrid *RxDBGrid2;          // per month
    ReportDefinition QuickRep1; // per month; its title is l_t
    ReportDefinition QuickRep2; // per employee; its title is l_t1

private:
    void SpeedButton1Click();
    void SpeedButton8Click();
    void e_nChange();
    void r_1Click();
};
