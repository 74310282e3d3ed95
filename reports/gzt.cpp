#include "gzt.h"

#include "amountcolumnlist.h"
#include "data.h"
#include "flatbutton.h"
#include "fonts.h"
#include "labels.h"
#include "messages.h"
#include "monthkey.h"
#include "placement.h"
#include "reportlayouts.h"
#include "reportpreview.h"
#include "salarycolumns.h"
#include "spinedit.h"
#include "sqllines.h"
#include "wiring.h"

#include <QLabel>

namespace {

FrameLayout frame() {
    return {QStringLiteral("工资条"),
            QSize(346, 93),
            QStringLiteral("工资条打印"),
            QPoint(124, 6),
            QPoint(315, 4),
            pixelFont(FontFamily::song, 12),
            FrameLayout::Bevel2::Rule,
            2};
}

} // namespace

Tfrm_gzt::Tfrm_gzt() : ModuleForm(frame()) {
    setObjectName(QStringLiteral("frm_gzt"));
    const QFont large = pixelFont(FontFamily::kai, 19, true);
    Label1 = makeLabel(QStringLiteral("Label1"), QStringLiteral("工资月份："),
                       QRect(13, 52, 105, 19), large, this);
    e_n = place(new SpinEdit(2005, 2100, this), "e_n", {115, 48, 74, 29});
    e_y = place(new SpinEdit(1, 12, this), "e_y", {204, 48, 46, 29});
    for (SpinEdit *box : {e_n, e_y})
        box->setFont(large);
    SpeedButton8 = place(new FlatButton(Icon::printer, QSize(32, 32), {}, this), "SpeedButton8",
                         {265, 41, 69, 41});
    wire(SpeedButton8, &FlatButton::clicked, this, &Tfrm_gzt::SpeedButton8Click);
}

void Tfrm_gzt::FormCreate() {
    showThisMonth(e_n, e_y);
    QuickRep1 = paySlipReport(buildAmountColumns());
}

void Tfrm_gzt::SpeedButton8Click() {
    Query &query = setSql(DM->AQ1, QStringList{"select *,"} + SalaryColumns::rowTotalLines() +
                                       QStringList{"from GZB where ny=:ny order by bmmc"});
    const QString month = monthKey(e_n->value(), e_y->value());
    query.param("ny").setText(month);
    query.open();
    if (query.isEmpty()) {
        Messages::information("本月未填工资！");
        return;
    }
    showReport(QuickRep1, "工资条_" + month, this);
}
