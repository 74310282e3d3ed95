#include "gztj.h"

#include "amountcolumnlist.h"
#include "caption.h"
#include "data.h"
#include "dbgrid.h"
#include "flatbutton.h"
#include "fonts.h"
#include "messages.h"
#include "monthkey.h"
#include "placement.h"
#include "reportlayouts.h"
#include "reportpreview.h"
#include "salarycolumns.h"
#include "spinedit.h"
#include "wiring.h"

#include <QLabel>
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
    Label1 = makeCaption("Label1", QStringLiteral("工资月份："), {4, 42}, font(), this);
    e_n = place(new SpinEdit(2005, 2100, this), "e_n", {68, 38, 44, 21});
    e_y = place(new SpinEdit(1, 12, this), "e_y", {115, 38, 33, 21});
    laaa = makeCaption("laaa", QStringLiteral("至"), {150, 42}, font(), this);
    e_n1 = place(new SpinEdit(2005, 2100, this), "e_n1", {165, 38, 44, 21});
    e_y1 = place(new SpinEdit(1, 12, this), "e_y1", {212, 38, 33, 21});
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
    QWidget::setTabOrder(e_n, e_y);
    QWidget::setTabOrder(e_y, e_n1);
    QWidget::setTabOrder(e_n1, e_y1);
    QWidget::setTabOrder(e_y1, r_1);
    QWidget::setTabOrder(r_1, r_2);
    QWidget::setTabOrder(r_2, RxDBGrid2);

    wire(SpeedButton1, &FlatButton::clicked, this, &Tfrm_gztj::SpeedButton1Click);
    wire(SpeedButton8, &FlatButton::clicked, this, &Tfrm_gztj::SpeedButton8Click);
    for (SpinEdit *box : {e_n, e_y, e_n1, e_y1})
        wire(box, &SpinEdit::changed, this, &Tfrm_gztj::e_nChange);
    for (QRadioButton *radio : {r_1, r_2})
        wire(radio, &QRadioButton::clicked, this, &Tfrm_gztj::r_1Click);
}

void Tfrm_gztj::FormCreate() {
    showThisMonth(e_n, e_y);
    showThisMonth(e_n1, e_y1);

    const QList<AmountColumn> columns = buildAmountColumns();
    QuickRep1 = monthStatisticsReport(columns);
    QuickRep2 = employeeStatisticsReport(columns);
    addAmountGridColumns(*RxDBGrid2, columns);
    addAmountGridColumns(*RxDBGrid1, columns);
}

void Tfrm_gztj::SpeedButton1Click() {
    Query &query = DM->AQ1;
    query.close();
    query.clearSql();
    const bool perMonth = r_1->isChecked();
    RxDBGrid2->setVisible(perMonth);
    RxDBGrid1->setVisible(!perMonth);
    query.addLine(perMonth ? QStringLiteral("select ny,") : QStringLiteral("select ygh,xm,"));
    for (const QString &line : SalaryColumns::columnSumLines() + SalaryColumns::groupTotalLines())
        query.addLine(line);
    query.addLine(QStringLiteral("from GZB "));
    query.addLine(QStringLiteral("where (ny between :ny and :ny1) "));
    query.addLine(perMonth ? QStringLiteral("group by ny ") : QStringLiteral("group by ygh,xm "));
    query.addLine(perMonth ? QStringLiteral("order by ny ") : QStringLiteral("order by ygh "));
    query.param(QStringLiteral("ny")).setText(monthKey(e_n->value(), e_y->value()));
    query.param(QStringLiteral("ny1")).setText(monthKey(e_n1->value(), e_y1->value()));
    query.open();
    if (query.isEmpty())
        Messages::information(QStringLiteral("统计无数据！"));
}

void Tfrm_gztj::SpeedButton8Click() {
    const Query &query = DM->AQ1;
    if (!query.isOpen() || query.isEmpty())
        return;
    QuickRep1.title = QStringLiteral("月工资统计表") + rangeText();
    QuickRep2.title = QStringLiteral("员工工资统计表") + rangeText();
    const bool perMonth = r_1->isChecked();
    const QString range = monthRangeName(e_n->value(), e_y->value(), e_n1->value(), e_y1->value());
    if (perMonth)
        showReport(QuickRep1, QStringLiteral("月工资统计表_") + range, this);
    else
        showReport(QuickRep2, QStringLiteral("员工工资统计表_") + range, this);
}

// "[2005年1月 至 2005年12月]", from the boxes' texts as they stand.
QString Tfrm_gztj::rangeText() const {
    return QStringLiteral("[%1年%2月 至 %3年%4月]")
        .arg(e_n->text(), e_y->text(), e_n1->text(), e_y1->text());
}

void Tfrm_gztj::e_nChange() {
    CloseAllQueries();
}

void Tfrm_gztj::r_1Click() {
    CloseAllQueries();
}
