#include "ygsz.h"

#include "caption.h"
#include "data.h"
#include "dateedit.h"
#include "datetext.h"
#include "dbgrid.h"
#include "employeeimportdialog.h"
#include "employeetax.h"
#include "fonts.h"
#include "identitydialog.h"
#include "leavewatch.h"
#include "messages.h"
#include "panel.h"
#include "placement.h"
#include "rowaction.h"
#include "rowasread.h"
#include "sqllines.h"
#include "toolbutton.h"
#include "wiring.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

FrameLayout frame() {
    return {"员工设置",
            QSize(657, 485),
            "员  工  设  置",
            QPoint(251, 5),
            QPoint(632, 4),
            pixelFont(FontFamily::song, 12),
            FrameLayout::Bevel2::Band,
            42};
}

const QColor deactivatedRow(162, 255, 185);

} // namespace

// Controls are made in tab order: the entry panel, the check box, the list.
Tfrm_ygsz::Tfrm_ygsz() : ModuleForm(frame()) {
    setObjectName("frm_ygsz");

    SpeedButton8 = makeToolButton("SpeedButton8", Icon::add, "添加", {1, 26, 77, 40}, this);
    SpeedButton5 = makeToolButton("SpeedButton5", Icon::modify, "修改", {78, 26, 77, 40}, this);
    SpeedButton1 = makeToolButton("SpeedButton1", Icon::toggle, "注销", {155, 26, 77, 40}, this);

    Panel1 = place(new Panel(Panel::Border::None, {}, this), "Panel1", {13, 67, 630, 49});
    Panel1->setEnabled(false);
    Label4 = makeCaption("Label4", "编号：", {7, 9}, font(), Panel1);
    e_bh = place(new QLineEdit(Panel1), "e_bh", {46, 5, 28, 18});
    e_bh->setEnabled(false);
    Label5 = makeCaption("Label5", "姓名：", {100, 9}, font(), Panel1);
    e_xm = place(new QLineEdit(Panel1), "e_xm", {138, 5, 48, 18});
    e_xm->setMaxLength(10);
    Label1 = makeCaption("Label1", "性别：", {210, 9}, font(), Panel1);
    c_xb = place(new QComboBox(Panel1), "c_xb", {247, 5, 42, 20});
    c_xb->addItems({"男", "女"});
    Label2 = makeCaption("Label2", "出生日期：", {313, 9}, font(), Panel1);
    e_csrq = place(new DateEdit(Panel1), "e_csrq", {376, 5, 64, 18});
    Label3 = makeCaption("Label3", "工作日期：", {466, 9}, font(), Panel1);
    e_gzrq = place(new DateEdit(Panel1), "e_gzrq", {526, 5, 65, 18});
    Label9 = makeCaption("Label9", "部门：", {7, 34}, font(), Panel1);
    c_bm = place(new QComboBox(Panel1), "c_bm", {46, 29, 242, 20});
    Label7 = makeCaption("Label7", "职务：", {313, 34}, font(), Panel1);
    e_zw = place(new QLineEdit(Panel1), "e_zw", {352, 29, 241, 18});
    e_zw->setMaxLength(20);

    c_zt = place(new QCheckBox("显示注销人员", this), "c_zt", {528, 40, 113, 17});

    RxDBGrid1 = place(new DBGrid(DM->DS1, this), "RxDBGrid1", {2, 118, 653, 364});
    RxDBGrid1->setColumns({{"bh", "编号", 29},
                           {"xm", "姓名", 56},
                           {"xb", "性别", 28},
                           {"csrq", "出生日期", 73},
                           {"gzrq", "工作日期", 73},
                           {"bmmc", "部门", 158},
                           {"zw", "职务", 172}});
    RxDBGrid1->setOptions({.titles = true, .indicator = true, .lines = true});

    wire(SpeedButton8, &FlatButton::clicked, this, &Tfrm_ygsz::SpeedButton8Click);
    wire(SpeedButton5, &FlatButton::clicked, this, &Tfrm_ygsz::SpeedButton5Click);
    wire(SpeedButton1, &FlatButton::clicked, this, &Tfrm_ygsz::SpeedButton1Click);
    wire(c_zt, &QCheckBox::clicked, this, &Tfrm_ygsz::FormActivate);
    onLeave(e_zw, this, &Tfrm_ygsz::e_zwExit);
    RxDBGrid1->OnTitleClick = std::bind_front(&Tfrm_ygsz::RxDBGrid1TitleClick, this);
    RxDBGrid1->OnGetCellParams = std::bind_front(&Tfrm_ygsz::RxDBGrid1GetCellParams, this);
    wire(addRowAction(RxDBGrid1, QStringLiteral("个税与社保…")), &QAction::triggered, this,
         &Tfrm_ygsz::openEmployeeTax);
    wire(addRowAction(RxDBGrid1, QStringLiteral("证件与银行…")), &QAction::triggered, this,
         &Tfrm_ygsz::openEmployeeIdentity);
    wire(addRowAction(RxDBGrid1, QStringLiteral("从Excel导入…")), &QAction::triggered, this,
         &Tfrm_ygsz::importEmployees);
}

// The box keeps each department's number beside its name, so an employee is stored with, and
// shown in, the department the operator sees, whatever gaps the numbers have.
void Tfrm_ygsz::FormCreate() {
    c_bm->clear();
    Query &departments = setSql(DM->AQ1, {"select * from BMZD order by bh"});
    departments.open();
    for (departments.first(); !departments.eof(); departments.next())
        c_bm->addItem(departments.field("mc").asString(), departments.field("bh").asInteger());
    c_bm->setCurrentIndex(c_bm->count() > 0 ? 0 : -1);
}

QStringList Tfrm_ygsz::employeeLines() const {
    QStringList lines{"select a.*,b.mc as bmmc from YGZD as a,BMZD as b where a.bmh=b.bh"};
    if (!c_zt->isChecked())
        lines << " and zt='1' ";
    return lines;
}

void Tfrm_ygsz::FormActivate() {
    e_bh->clear();
    e_xm->clear();
    e_csrq->setDateText(QString());
    e_gzrq->setDateText(QString());
    e_zw->clear();
    setSql(DM->AQ1, employeeLines() << "order by a.bh").open();
}

// Always ascending; the department column sorts by department number, not by name.
void Tfrm_ygsz::RxDBGrid1TitleClick(const GridColumn &column) {
    const QString order = column.field.compare("bmmc", Qt::CaseInsensitive) == 0
                              ? "order by a.bmh"
                              : "order by a." + column.field;
    setSql(DM->AQ1, employeeLines() << order).open();
}

void Tfrm_ygsz::SpeedButton8Click() {
    Panel1->setEnabled(true);
    e_xm->setFocus();
    editMode = "1";
}

void Tfrm_ygsz::SpeedButton5Click() {
    const Query &list = DM->AQ1;
    if (list.isEmpty())
        return;
    Panel1->setEnabled(true);
    e_xm->setFocus();
    e_bh->setText(list.field("bh").asString());
    e_xm->setText(list.field("xm").asString());
    c_xb->setCurrentIndex(list.field("xb").asString() == "男" ? 0 : 1);
    e_csrq->setDateText(list.field("csrq").asString());
    e_gzrq->setDateText(list.field("gzrq").asString());
    e_zw->setText(list.field("zw").asString());
    c_bm->setCurrentIndex(c_bm->findData(list.field("bmh").asInteger()));
    asRead.read(list, {"xm", "xb", "csrq", "gzrq", "zw", "zt"}, {"bmh"});
    editMode = "2";
}

void Tfrm_ygsz::e_zwExit() {
    if (e_xm->text().trimmed().isEmpty()) {
        Messages::plain("姓名不能为空！");
        return;
    }
    const QString csrq = e_csrq->dateText();
    if (!isEmptyDateText(csrq) && !isCalendarDate(csrq)) {
        Messages::plain("出身日期输入错误！");
        e_csrq->setFocus();
        return;
    }
    const QString gzrq = e_gzrq->dateText();
    if (!isEmptyDateText(gzrq) && !isCalendarDate(gzrq)) {
        Messages::plain("工作日期输入错误！");
        e_gzrq->setFocus();
        return;
    }

    Query &save = setSql(
        DM->AQUP,
        {editMode == "1" ? "insert into YGZD (xm,xb,csrq,gzrq,bmh,zw) values "
                           "(:xm,:xb,:csrq,:gzrq,:bmh,:zw)"
                         : "update YGZD set xm=:xm,xb=:xb,csrq=:csrq,gzrq=:gzrq,bmh=:bmh,zw=:zw "
                           "where bh=:bh" +
                               asRead.condition()});
    if (editMode != "1") {
        save.param("bh").setText(e_bh->text());
        asRead.bind(save);
    }
    save.param("xm").setText(e_xm->text());
    save.param("xb").setText(c_xb->currentText());
    save.param("csrq").setText(csrq);
    save.param("gzrq").setText(gzrq);
    save.param("bmh").setInteger(c_bm->currentIndex() < 0 ? 0 : c_bm->currentData().toLongLong());
    save.param("zw").setText(e_zw->text());
    save.execSql();

    Panel1->setEnabled(false);
    FormActivate();
    if (changedMeanwhile(save))
        return;
    if (editMode == "1" && Messages::confirm("保存成功，是否继续添加?"))
        SpeedButton8Click();
}

// Deactivates the selected employee, or makes a deactivated one (listed with c_zt) active;
// one another clerk toggled since the list was read is left as that clerk made it.
void Tfrm_ygsz::SpeedButton1Click() {
    const Query &list = DM->AQ1;
    if (list.isEmpty())
        return;
    RowAsRead shown;
    shown.read(list, {"zt"});
    Query &toggle = setSql(DM->AQUP, {"update YGZD set zt=:zt where bh=:bh" + shown.condition()});
    toggle.param("bh").setInteger(list.field("bh").asInteger());
    toggle.param("zt").setText(list.field("zt").asString() == "1" ? "2" : "1");
    shown.bind(toggle);
    toggle.execSql();
    FormActivate();
    changedMeanwhile(toggle);
}

void Tfrm_ygsz::RxDBGrid1GetCellParams(const PaintedRow &row, const QString &, QColor &background,
                                       bool) {
    if (row.text("zt") == "2")
        background = deactivatedRow;
}

// New departments may have come with the employees: the department box is read again too.
void Tfrm_ygsz::importEmployees() {
    EmployeeImportDialog dialog;
    dialog.FormCreate();
    if (dialog.exec() != QDialog::Accepted)
        return;
    FormCreate();
    FormActivate();
}

void Tfrm_ygsz::openEmployeeTax() {
    const Query &list = DM->AQ1;
    if (list.isEmpty())
        return;
    EmployeeTaxDialog dialog(list.field("bh").asInteger(), list.field("xm").asString());
    dialog.FormCreate();
    dialog.exec();
}

void Tfrm_ygsz::openEmployeeIdentity() {
    const Query &list = DM->AQ1;
    if (list.isEmpty())
        return;
    EmployeeIdentityDialog dialog(list.field("bh").asInteger(), list.field("xm").asString(),
                                  list.field("xb").asString(), list.field("csrq").asString());
    dialog.FormCreate();
    dialog.exec();
}
