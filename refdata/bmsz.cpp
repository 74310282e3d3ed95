#include "bmsz.h"

#include "caption.h"
#include "data.h"
#include "dbgrid.h"
#include "fonts.h"
#include "leavewatch.h"
#include "messages.h"
#include "placement.h"
#include "rowasread.h"
#include "sqllines.h"
#include "toolbutton.h"
#include "wiring.h"

#include <QLineEdit>

namespace {

FrameLayout frame() {
    return {"部门设置",     QSize(429, 304), "部  门  设  置",
            QPoint(140, 6), QPoint(403, 4),  pixelFont(FontFamily::sans, 11)};
}

} // namespace

// The grid comes first in the tab order, so it has the focus when the window opens.
Tfrm_bmsz::Tfrm_bmsz() : ModuleForm(frame()) {
    setObjectName("frm_bmsz");
    const QFont captionFont = pixelFont(FontFamily::song, 12);

    DBGrid1 = place(new DBGrid(DM->DS1, this), "DBGrid1", {8, 32, 217, 265});
    DBGrid1->setColumns({{"MC", QString(), 190}});
    DBGrid1->setOptions({.titles = false, .indicator = false, .lines = true});

    SpeedButton8 = makeToolButton("SpeedButton8", Icon::add, "  添加", {236, 34, 84, 41}, this);
    SpeedButton5 = makeToolButton("SpeedButton5", Icon::modify, "  修改", {331, 34, 84, 41}, this);

    Label4 = makeCaption("Label4", "编号：", {246, 122}, captionFont, this);
    e_bh = place(new QLineEdit(this), "e_bh", {284, 118, 121, 19});
    e_bh->setEnabled(false);
    Label5 = makeCaption("Label5", "部门：", {246, 162}, captionFont, this);
    e_mc = place(new QLineEdit(this), "e_mc", {284, 156, 121, 19});
    e_mc->setEnabled(false);
    e_mc->setMaxLength(20);

    wire(SpeedButton8, &FlatButton::clicked, this, &Tfrm_bmsz::SpeedButton8Click);
    wire(SpeedButton5, &FlatButton::clicked, this, &Tfrm_bmsz::SpeedButton5Click);
    onLeave(e_mc, this, &Tfrm_bmsz::e_mcExit);
}

void Tfrm_bmsz::FormActivate() {
    e_bh->clear();
    e_mc->clear();
    setSql(DM->AQ1, {"select * from BMZD"}).open();
}

void Tfrm_bmsz::SpeedButton8Click() {
    e_mc->setEnabled(true);
    e_mc->setFocus();
    editMode = "1";
}

void Tfrm_bmsz::SpeedButton5Click() {
    const Query &list = DM->AQ1;
    if (list.isEmpty())
        return;
    e_mc->setEnabled(true);
    e_mc->setFocus();
    e_bh->setText(list.field("bh").asString());
    e_mc->setText(list.field("mc").asString());
    asRead.read(list, {"mc"});
    editMode = "2";
}

// Blanks around the name are kept as typed; they only must not be all there is. A department
// renamed by another clerk since it was read keeps that name.
void Tfrm_bmsz::e_mcExit() {
    if (e_mc->text().trimmed().isEmpty()) {
        Messages::plain("部门不能为空！");
        return;
    }
    Query &save = setSql(
        DM->AQUP, {editMode == "1" ? "insert into BMZD (mc) values (:mc)"
                                   : "update BMZD set mc=:mc where bh=:bh" + asRead.condition()});
    if (editMode != "1") {
        save.param("bh").setText(e_bh->text());
        asRead.bind(save);
    }
    save.param("mc").setText(e_mc->text());
    save.execSql();

    e_mc->setEnabled(false);
    if (changedMeanwhile(save)) {
        FormActivate();
        return;
    }
    FormActivate();
    if (editMode == "1" && Messages::confirm("保存成功，是否继续添加?"))
        SpeedButton8Click();
}
