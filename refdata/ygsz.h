#pragma once

#include "moduleform.h"
#include "rowasread.h"

class DBGrid;
class DateEdit;
class FlatButton;
class PaintedRow;
class Panel;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
struct GridColumn;

// The employees with their departments: added, changed, deactivated (注销) and made active
// again, never deleted. Only active employees enter the months prepared afterwards.
class Tfrm_ygsz : public ModuleForm {
public:
    Tfrm_ygsz();

    void FormCreate() override;
    void FormActivate() override;

    FlatButton *SpeedButton8 = nullptr;
    FlatButton *SpeedButton5 = nullptr;
    FlatButton *SpeedButton1 = nullptr;
    QCheckBox *c_zt = nullptr;
    Panel *Panel1 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *e_bh = nullptr;
    QLabel *Label5 = nullptr;
    QLineEdit *e_xm = nullptr;
    QLabel *Label1 = nullptr;
    QComboBox *c_xb = nullptr;
    QLabel *Label2 = nullptr;
    DateEdit *e_csrq = nullptr;
    QLabel *Label3 = nullptr;
    DateEdit *e_gzrq = nullptr;
    QLabel *Label9 = nullptr;
    QComboBox *c_bm = nullptr; // each department's name, with its number beside it
    QLabel *Label7 = nullptr;
    QLineEdit *e_zw = nullptr;
    DBGrid *RxDBGrid1 = nullptr;

private:
    void RxDBGrid1TitleClick(const GridColumn &column);
    void SpeedButton8Click();
    void SpeedButton5Click();
    void e_zwExit();
    void SpeedButton1Click();
    // "个税与社保…" on a row of the list.
    void openEmployeeTax();
    // "证件与银行…" on a row of the list.
    void openEmployeeIdentity();
    // "从Excel导入…" on the list.
    void importEmployees();
    void RxDBGrid1GetCellParams(const PaintedRow &row, const QString &field, QColor &background,
                                bool highlighted);
    // The first lines of every reading of the list: the join, and without c_zt only the active.
    QStringList employeeLines() const;

    QString editMode; // "1" adding, "2" modifying
    RowAsRead asRead; // the employee being modified, as read
};
