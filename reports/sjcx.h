#pragma once

#include "moduleform.h"
#include "monthrange.h"
#include "reportdefinition.h"

class DBGrid;
class FlatButton;
class QComboBox;
class QLabel;
class QLineEdit;
struct GridColumn;

// Salary data query: finds the stored salary rows of a range of months by department,
// employee number, name and position, shows them in two linked grids sorted by any column,
// and previews them with a totals row.
class Tfrm_sjcx : public ModuleForm, public MonthRange {
    Q_OBJECT
public:
    Tfrm_sjcx();

    void FormCreate() override;

    QLabel *Label9;
    QComboBox *c_bm;
    QLabel *Label4;
    QLineEdit *e_bh;
    QLabel *Label5;
    QLineEdit *e_xm;
    QLabel *Label7;
    QLineEdit *e_zw;
    FlatButton *SpeedButton1;
    FlatButton *SpeedButton8;
    DBGrid *RxDBGrid1;
    DBGrid *RxDBGrid2;
    ReportDefinition QuickRep1;

protected:
    bool FormKeyDown(QKeyEvent *event) override;

private:
    void RxDBGrid1TitleClick(const GridColumn &column);
    void runQuery(const QString &orderField);
    void SpeedButton1Click();
    void SpeedButton8Click();
    bool e_bhKeyPress(const QKeyEvent *event);
    void e_bhChange();
};
