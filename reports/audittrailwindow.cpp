#include "audittrailwindow.h"

#include "caption.h"
#include "data.h"
#include "dbgrid.h"
#include "fonts.h"
#include "monthkey.h"
#include "placement.h"
#include "spinedit.h"
#include "sqllines.h"
#include "wiring.h"

#include <QCheckBox>

namespace {

FrameLayout frame() {
    return {"审计记录",
            QSize(672, 485),
            "审  计  记  录",
            QPoint(280, 5),
            QPoint(647, 4),
            pixelFont(FontFamily::song, 12),
            FrameLayout::Bevel2::Rule,
            2,
            19};
}

GridColumn amount(const char *field, const char *title) {
    return {QString::fromLatin1(field), QString::fromUtf8(title), 64, Qt::AlignRight};
}

GridColumn count(const char *field, const char *title) {
    return {QString::fromLatin1(field), QString::fromUtf8(title), 40, Qt::AlignRight};
}

} // namespace

AuditTrailWindow::AuditTrailWindow() : ModuleForm(frame()) {
    setObjectName("auditTrailWindow");
    makeCaption(QString(), "工资月份：", {12, 38}, font(), this);
    e_n = place(new SpinEdit(2005, 2100, this), "e_n", {80, 34, 58, 22});
    e_y = place(new SpinEdit(1, 12, this), "e_y", {144, 34, 41, 22});
    c_all = place(new QCheckBox("全部月份", this), "c_all", {200, 36, 90, 17});
    RxDBGrid1 = place(new DBGrid(DM->DS1, this), "RxDBGrid1", {1, 64, 670, 420});
    RxDBGrid1->setColumns({{"sj", "时间", 118},
                           {"czy", "操作员", 60},
                           {"ny", "年月", 43},
                           {"dz", "操作", 56},
                           count("qts", "原人数"),
                           amount("qfh", "原应发"),
                           amount("qkh", "原扣款"),
                           amount("qsf", "原实发"),
                           count("hts", "现人数"),
                           amount("hfh", "现应发"),
                           amount("hkh", "现扣款"),
                           amount("hsf", "现实发"),
                           {"yy", "反结账原因", 120},
                           {"wjm", "导出文件", 140},
                           {"sha", "SHA-256", 200}});

    wire(e_n, &SpinEdit::changed, this, &AuditTrailWindow::listRows);
    wire(e_y, &SpinEdit::changed, this, &AuditTrailWindow::listRows);
    wire(c_all, &QCheckBox::toggled, this, &AuditTrailWindow::listRows);
}

void AuditTrailWindow::FormCreate() {
    showThisMonth(e_n, e_y);
    listRows();
}

// Rows are only ever added, so the newest is the one numbered last.
void AuditTrailWindow::listRows() {
    const bool all = c_all->isChecked();
    for (SpinEdit *box : {e_n, e_y})
        box->setEnabled(!all);
    Query &rows =
        setSql(DM->AQ1, {"select * from SJJL", all ? "" : "where ny=:ny", "order by bh desc"});
    if (!all)
        rows.param("ny").setText(monthKey(e_n->value(), e_y->value()));
    rows.open();
}
