#include "monthclosedialog.h"

#include "caption.h"
#include "data.h"
#include "flatbutton.h"
#include "fonts.h"
#include "messages.h"
#include "monthclose.h"
#include "monthkey.h"
#include "placement.h"
#include "spinedit.h"
#include "toolbutton.h"
#include "wiring.h"

#include <QLabel>
#include <QLineEdit>

namespace {

FrameLayout frame() {
    return {"结账",
            QSize(340, 190),
            "结  账",
            QPoint(150, 5),
            QPoint(315, 4),
            pixelFont(FontFamily::song, 12),
            FrameLayout::Bevel2::Rule,
            2,
            19};
}

} // namespace

MonthCloseDialog::MonthCloseDialog(const QString &month) : ModuleForm(frame()) {
    setObjectName("monthCloseDialog");
    makeCaption(QString(), "工资月份：", {20, 40}, font(), this);
    e_n = place(new SpinEdit(2005, 2100, this), "e_n", {90, 36, 58, 22});
    e_y = place(new SpinEdit(1, 12, this), "e_y", {154, 36, 41, 22});
    e_n->setValue(month.left(4).toInt());
    e_y->setValue(month.mid(4).toInt());
    l_zt = makeCaption("l_zt", QString(), {210, 40}, font(), this);
    makeCaption(QString(), "反结账原因：", {20, 76}, font(), this);
    e_yy = place(new QLineEdit(this), "e_yy", {20, 94, 300, 20});
    b_jz = makeToolButton("b_jz", Icon::save, "结账", {150, 136, 80, 40}, this);
    b_fjz = makeToolButton("b_fjz", Icon::cancel, "反结账", {240, 136, 80, 40}, this);

    wire(e_n, &SpinEdit::changed, this, &MonthCloseDialog::showStatus);
    wire(e_y, &SpinEdit::changed, this, &MonthCloseDialog::showStatus);
    wire(b_jz, &FlatButton::clicked, this, &MonthCloseDialog::b_jzClick);
    wire(b_fjz, &FlatButton::clicked, this, &MonthCloseDialog::b_fjzClick);
}

void MonthCloseDialog::FormCreate() {
    showStatus();
}

QString MonthCloseDialog::selectedMonth() const {
    return monthKey(e_n->value(), e_y->value());
}

void MonthCloseDialog::showStatus() {
    l_zt->setText(isMonthClosed(DM->ADC, selectedMonth()) ? "本月已结账" : "本月未结账");
    l_zt->adjustSize();
}

void MonthCloseDialog::b_jzClick() {
    const QString month = selectedMonth();
    const QString name = monthCaption(month);
    switch (closeMonth(DM->ADC, month)) {
    case MonthClosing::Closed:
        Messages::information(name + "已结账！");
        break;
    case MonthClosing::AlreadyClosed:
        Messages::information(name + "早已结账！");
        break;
    case MonthClosing::NotSaved:
        Messages::information(name + "工资未录，不能结账！");
        break;
    case MonthClosing::HeldElsewhere:
        Messages::information(name + "工资正由其他操作员录入，保存后才能结账！");
        break;
    }
    showStatus();
}

void MonthCloseDialog::b_fjzClick() {
    const QString month = selectedMonth();
    const QString name = monthCaption(month);
    switch (reopenMonth(DM->ADC, month, e_yy->text())) {
    case MonthReopening::Reopened:
        e_yy->clear();
        Messages::information(name + "已反结账！");
        break;
    case MonthReopening::NotClosed:
        Messages::information(name + "未结账，无需反结账！");
        break;
    case MonthReopening::NoReason:
        Messages::information("请填写反结账的原因！");
        e_yy->setFocus();
        break;
    }
    showStatus();
}
