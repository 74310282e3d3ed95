#pragma once

#include "moduleform.h"
#include "rowasread.h"

class DBGrid;
class FlatButton;
class QLabel;
class QLineEdit;

// The departments: a list of names, to which a department is added or in which one is
// renamed. None is ever deleted or renumbered: employees refer to their department's number.
class Tfrm_bmsz : public ModuleForm {
public:
    Tfrm_bmsz();

    void FormActivate() override;

    DBGrid *DBGrid1 = nullptr;
    FlatButton *SpeedButton8 = nullptr;
    FlatButton *SpeedButton5 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *e_bh = nullptr;
    QLabel *Label5 = nullptr;
    QLineEdit *e_mc = nullptr;

private:
    void SpeedButton8Click();
    void SpeedButton5Click();
    void e_mcExit();

    QString editMode; // "1" adding, "2" modifying
    RowAsRead asRead; // the department being modified, as read
};
