#include "xmsz.h"

#include "caption.h"
#include "data.h"
#include "dbgrid.h"
#include "fonts.h"
#include "itemcomputation.h"
#include "labels.h"
#include "leavewatch.h"
#include "messages.h"
#include "panel.h"
#include "placement.h"
#include "rowaction.h"
#include "rowasread.h"
#include "salarycolumns.h"
#include "sqllines.h"
#include "toolbutton.h"
#include "wiring.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

FrameLayout frame() {
    return {"项目设置",
            QSize(407, 287),
            "项  目  设  置",
            QPoint(123, 5),
            QPoint(382, 4),
            pixelFont(FontFamily::song, 12),
            FrameLayout::Bevel2::Rule,
            2,
            19};
}

void showItemNames(DBGrid *grid) {
    grid->setColumns({{"mc", QString(), 88}});
    grid->setOptions({.titles = false, .indicator = true, .lines = true});
}

} // namespace

// Controls are made in tab order: the entry panel, the radio buttons, the two lists.
Tfrm_xmsz::Tfrm_xmsz() : ModuleForm(frame()) {
    setObjectName("frm_xmsz");

    Panel1 = place(new Panel(Panel::Border::None, {}, this), "Panel1", {227, 82, 168, 95});
    Panel1->setEnabled(false);
    e_bh = place(new QLineEdit(Panel1), "e_bh", {139, 5, 28, 18});
    e_bh->setVisible(false);
    e_bh->setEnabled(false);
    c_S_JC = place(new QCheckBox("每月基本没变动", Panel1), "c_S_JC", {9, 22, 129, 17});
    c_S_JC->setChecked(true);
    Label7 = makeCaption("Label7", "项目名：", {9, 74}, font(), Panel1);
    e_mc = place(new QLineEdit(Panel1), "e_mc", {61, 71, 100, 18});
    e_mc->setMaxLength(10);

    r_f = place(new QRadioButton("应付项：", this), "r_f", {6, 32, 81, 18});
    r_f->setChecked(true);
    r_k = place(new QRadioButton("代扣项：", this), "r_k", {118, 32, 81, 18});

    RxDBGrid1 = place(new DBGrid(DM->DS1, this), "RxDBGrid1", {5, 51, 107, 230});
    showItemNames(RxDBGrid1);
    RxDBGrid2 = place(new DBGrid(DM->DS2, this), "RxDBGrid2", {119, 51, 107, 230});
    showItemNames(RxDBGrid2);

    SpeedButton8 = makeToolButton("SpeedButton8", Icon::add, "添加", {239, 34, 74, 40}, this);
    SpeedButton5 = makeToolButton("SpeedButton5", Icon::modify, "修改", {319, 34, 74, 40}, this);

    Label1 = makeLabel("Label1",
                       "注：工资项目总数最好不要\n\n超过15个（项目太多，会导\n\n"
                       "致报表打印过长），合计项\n\n目不需要维护。",
                       {239, 190, 144, 84}, font(), this);
    setTextColour(Label1, Qt::red);

    wire(SpeedButton8, &FlatButton::clicked, this, &Tfrm_xmsz::SpeedButton8Click);
    wire(SpeedButton5, &FlatButton::clicked, this, &Tfrm_xmsz::SpeedButton5Click);
    onLeave(e_mc, this, &Tfrm_xmsz::e_mcExit);
    RxDBGrid1->OnGetCellParams = std::bind_front(&Tfrm_xmsz::RxDBGrid1GetCellParams, this);
    RxDBGrid2->OnGetCellParams = std::bind_front(&Tfrm_xmsz::RxDBGrid2GetCellParams, this);
    for (const bool deduction : {false, true}) {
        QAction *computation =
            addRowAction(deduction ? RxDBGrid2 : RxDBGrid1, QStringLiteral("计算方式…"));
        QObject::connect(computation, &QAction::triggered, this, [this, deduction] {
            guarded([&] { openComputation(deduction ? DM->AQ2 : DM->AQ1, deduction); });
        });
    }
}

void Tfrm_xmsz::openComputation(const Query &list, bool deduction) {
    if (list.isEmpty())
        return;
    ItemComputationDialog dialog(list.field("bh").asInteger(), list.field("mc").asString(),
                                 deduction);
    dialog.FormCreate();
    dialog.exec();
}

void Tfrm_xmsz::FormActivate() {
    e_bh->clear();
    e_mc->clear();
    setSql(DM->AQ1, {"select * from GZXMZD where S_FK='0' order by bh"}).open();
    setSql(DM->AQ2, {"select * from GZXMZD where S_FK='1' order by bh"}).open();
}

void Tfrm_xmsz::SpeedButton8Click() {
    const QString kind = r_f->isChecked() ? "0" : "1";
    const Query &list = kind == "0" ? DM->AQ1 : DM->AQ2;
    if (list.recordCount() >= SalaryColumns::itemsPerKind) {
        Messages::information("各项目最大为 20 项！");
        return;
    }
    pendingKind = kind;
    Panel1->setEnabled(true);
    c_S_JC->setFocus();
    editMode = "1";
}

// The checked radio button chooses the list, whichever list was clicked last.
void Tfrm_xmsz::SpeedButton5Click() {
    const Query &list = r_f->isChecked() ? DM->AQ1 : DM->AQ2;
    if (list.isEmpty())
        return;
    Panel1->setEnabled(true);
    c_S_JC->setFocus();
    c_S_JC->setChecked(list.field("S_JC").asBoolean());
    e_mc->setText(list.field("mc").asString());
    e_bh->setText(list.field("bh").asString());
    pendingKind = r_f->isChecked() ? "0" : "1";
    asRead.read(list, {"mc", "S_FK"}, {"S_JC"});
    editMode = "2";
}

void Tfrm_xmsz::e_mcExit() {
    if (e_mc->text().trimmed().isEmpty()) {
        Messages::plain("项目名不能为空！");
        e_mc->setFocus();
        return;
    }
    Query &save = setSql(
        DM->AQUP, {editMode == "1" ? "insert into GZXMZD (mc,S_JC,S_FK) values (:mc,:S_JC,:S_FK)"
                                   : "update GZXMZD set mc=:mc,S_JC=:S_JC,S_FK=:S_FK where bh=:bh" +
                                         asRead.condition()});
    if (editMode != "1") {
        save.param("bh").setText(e_bh->text());
        asRead.bind(save);
    }
    save.param("mc").setText(e_mc->text());
    save.param("S_JC").setBoolean(c_S_JC->isChecked());
    save.param("S_FK").setText(pendingKind);
    save.execSql();

    Panel1->setEnabled(false);
    FormActivate();
    if (changedMeanwhile(save))
        return;
    if (editMode == "1" && Messages::confirm("保存成功，是否继续添加?"))
        SpeedButton8Click();
}

// Items not carried into a new month are shown in the window's own grey.
void Tfrm_xmsz::RxDBGrid1GetCellParams(const PaintedRow &row, const QString &, QColor &background,
                                       bool) {
    if (row.integer("S_JC") == 0)
        background = palette().color(QPalette::Window);
}

void Tfrm_xmsz::RxDBGrid2GetCellParams(const PaintedRow &row, const QString &field,
                                       QColor &background, bool highlighted) {
    RxDBGrid1GetCellParams(row, field, background, highlighted);
}
