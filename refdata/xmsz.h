#pragma once

#include "moduleform.h"
#include "rowasread.h"

class DBGrid;
class FlatButton;
class Panel;
class PaintedRow;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class Query;

// The salary items: earnings and deductions side by side, each list in slot order. Items are
// added (at most 20 of a kind, one per amount column), renamed and given a carry-over flag;
// none is ever deleted or moved to the other kind, so their slots never move.
class Tfrm_xmsz : public ModuleForm {
public:
    Tfrm_xmsz();

    void FormActivate() override;

    QRadioButton *r_f = nullptr;
    QRadioButton *r_k = nullptr;
    DBGrid *RxDBGrid1 = nullptr;
    DBGrid *RxDBGrid2 = nullptr;
    FlatButton *SpeedButton8 = nullptr;
    FlatButton *SpeedButton5 = nullptr;
    Panel *Panel1 = nullptr;
    QLineEdit *e_bh = nullptr;
    QCheckBox *c_S_JC = nullptr;
    QLabel *Label7 = nullptr;
    QLineEdit *e_mc = nullptr;
    QLabel *Label1 = nullptr;

private:
    void SpeedButton8Click();
    void SpeedButton5Click();
    void e_mcExit();
    // "计算方式…" on a row of either list.
    void openComputation(const Query &list, bool deduction);
    void RxDBGrid1GetCellParams(const PaintedRow &row, const QString &field, QColor &background,
                                bool highlighted);
    void RxDBGrid2GetCellParams(const PaintedRow &row, const QString &field, QColor &background,
                                bool highlighted);

    QString editMode;    // "1" adding, "2" modifying
    QString pendingKind; // S_FK of the item being entered: "0" earning, "1" deduction
    RowAsRead asRead;    // the item being modified, as read
};
