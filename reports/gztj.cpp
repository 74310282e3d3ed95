#include "gztj.h"

#include "amountcolumnlist.h"
#include "data.h"
#include "dbgrid.h"
#include "flatbutton.h"
#include "fonts.h"
#include "messages.h"
#include "placement.h"
#include "reportlayouts.h"
#include "reportpreview.h"
#include "salarycolumns.h"
#include "spinedit.h"
#include "sqllines.h"
#include "wiring.h"

#include <QRadioButton>

namespace {

FrameLayout frame() {
    return {QStringLiteral("数据查询"),
            QSize(657, 485),
            QStringLiteral("工 资 统 计"),
            QPoint(258, 5),
            QPoint(632, 4),
            pixelFont(FontFamily::song, 12),
            FrameLayout::Bevel2::Band,
            44};
}

} // namespace

Tfrm_gztj::Tfrm_gztj() : ModuleForm(frame()) {
    setObjectName(QStringLiteral("frm_gztj"));
    // The employee grid first, so that the month grid lies on top until a computation
    // chooses between them.
    RxDBGrid1 = place(new DBGrid(DM->DS1, this), "RxDBGrid1", {1, 71, 655, 412});
    RxDBGrid1->setColumns({{QStringLiteral("ygh"), QStringLiteral("员工号"), 41},
                           {QStringLiteral("xm"), QStringLiteral("姓名"), 45}});
    placeMonthRange(this, 38, "laaa");
    r_1 = place(new QRadioButton(QStringLiteral("月工资统计"), this), "r_1", {290, 40, 89, 17});
    r_2 = place(new QRadioButton(QStringLiteral("员工工资统计"), this), "r_2", {386, 40, 97, 17});
    for (QRadioButton *radio : {r_1, r_2}) {
        QPalette colours = radio->palette();
        colours.setColor(QPalette::WindowText, Qt::blue);
        radio->setPalette(colours);
    }
    r_1->setChecked(true);
    SpeedButton1 = place(new FlatButton(Icon::magnifier, QSize(32, 32), {}, this), "SpeedButton1",
                         {513, 30, 67, 35});
    SpeedButton8 = place(new FlatButton(Icon::printer, QSize(32, 32), {}, this), "SpeedButton8",
                         {583, 30, 67, 36});
    RxDBGrid2 = place(new DBGrid(DM->DS1, this), "RxDBGrid2", {1, 71, 655, 412});
    RxDBGrid2->setColumns({{QStringLiteral("ny"), QStringLiteral("年月"), 43}});

    QWidget::setTabOrder(RxDBGrid1, e_n);
    QWidget::setTabOrder(e_y1, r_1);
    QWidget::setTabOrder(r_1, r_2);
    QWidget::setTabOrder(r_2, RxDBGrid2);

    wire(SpeedButton1, &FlatButton::clicked, this, &Tfrm_gztj::SpeedButton1Click);
    wire(SpeedButton8, &FlatButton::clicked, this, &Tfrm_gztj::SpeedButton8Click);
    for (SpinEdit *box : monthBoxes())
        wire(box, &SpinEdit::changed, this, &Tfrm_gztj::e_nChange);
    for (QRadioButton *radio : {r_1, r_2})
        wire(radio, &QRadioButton::clicked, this, &Tfrm_gztj::r_1Click);
}

void Tfrm_gztj::FormCreate() {
    showThisMonthRange();

    const QList<AmountColumn> columns = buildAmountColumns();
    QuickRep1 = monthStatisticsReport(columns);
    QuickRep2 = employeeStatisticsReport(columns);
    addAmountGridColumns(*RxDBGrid2, columns);
    addAmountGridColumns(*RxDBGrid1, columns);
}

void Tfrm_gztj::SpeedButton1Click() {
    const bool perMonth = r_1->isChecked();
    Query &query =
        setSql(DM->AQ1, QStringList{perMonth ? "select ny," : "select ygh,xm,"} +
                            SalaryColumns::columnSumLines() + SalaryColumns::groupTotalLines() +
                            QStringList{"from GZB ", "where (ny between :ny and :ny1) ",
                                        perMonth ? "group by ny " : "group by ygh,xm ",
                                        perMonth ? "order by ny " : "order by ygh "});
    RxDBGrid2->setVisible(perMonth);
    RxDBGrid1->setVisible(!perMonth);
    bindMonthKeys(query);
    query.open();
    if (query.isEmpty())
        Messages::information("统计无数据！");
}

void Tfrm_gztj::SpeedButton8Click() {
    const Query &query = DM->AQ1;
    if (!query.isOpen() || query.isEmpty())
        return;
    QuickRep1.title = "月工资统计表" + monthRangeTitle();
    QuickRep2.title = "员工工资统计表" + monthRangeTitle();
    if (r_1->isChecked())
        showReport(QuickRep1, "月工资统计表_" + monthRangeName(), this);
    else
        showReport(QuickRep2, "员工工资统计表_" + monthRangeName(), this);
}

void Tfrm_gztj::e_nChange() {
    CloseAllQueries();
}

void Tfrm_gztj::r_1Click() {
    CloseAllQueries();
}
