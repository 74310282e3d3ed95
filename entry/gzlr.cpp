#include "gzlr.h"

#include "amountimportdialog.h"
#include "caption.h"
#include "currencyedit.h"
#include "data.h"
#include "dberror.h"
#include "dbgrid.h"
#include "flatbutton.h"
#include "fonts.h"
#include "labels.h"
#include "messages.h"
#include "monthclaim.h"
#include "monthclosedialog.h"
#include "monthkey.h"
#include "panel.h"
#include "placement.h"
#include "progress.h"
#include "rowaction.h"
#include "salarycolumns.h"
#include "spinedit.h"
#include "sqllines.h"
#include "wiring.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QScopedValueRollback>

namespace {

const QString claimedElsewhere = QStringLiteral("本月工资正由其他操作员录入！");
const QString entryLost = QStringLiteral("本月未保存的录入已丢失，请重新录入");

const QColor red(255, 0, 0);
const QColor blue(0, 0, 255);

// Three items to a row, 25 pixels apart; an item's editor stands right of its label, a little
// higher so that their texts line up.
constexpr int itemsPerRow = 3;
constexpr int firstItemLeft = 200;
constexpr int firstItemTop = 40;
constexpr int itemRowHeight = 25;
constexpr int itemColumnWidth = 160;
constexpr QRect editorBesideLabel(60, -4, 70, 21);

FrameLayout entryFrame() {
    return {"工资录入",
            QSize(672, 485),
            "工  资  录  入",
            QPoint(270, 6),
            QPoint(643, 4),
            pixelFont(FontFamily::sans, 11),
            FrameLayout::Bevel2::None};
}

// A caption as large as its text, placed by its top-left corner.
QLabel *caption(const QString &name, const QString &text, const QPoint &at, const QFont &font,
                const QColor &colour, QWidget *parent) {
    QLabel *label = makeCaption(name, text, at, font, parent);
    setTextColour(label, colour);
    return label;
}

FlatButton *toolButton(const char *name, const QString &icon, const QString &hint, const QRect &at,
                       QWidget *parent) {
    auto *button = new FlatButton(icon, QSize(24, 24), at, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    return button;
}

CurrencyEdit *totalBox(const char *name, const QRect &at, QWidget *parent) {
    auto *box = place(new CurrencyEdit(parent), name, at);
    box->setEnabled(false);
    return box;
}

} // namespace

Tfrm_gzlr::Tfrm_gzlr() : ModuleForm(entryFrame()) {
    setObjectName("frm_gzlr");
    const QFont bold = pixelFont(FontFamily::sans, 11, true);

    Panel2 = new Panel(Panel::Border::RaisedInLoweredOut, {0, 24, 671, 41}, this);
    Panel2->setObjectName("Panel2");
    Label1 = caption("Label1", "工资月份：", {248, 15}, font(), Qt::black, Panel2);
    e_n = place(new SpinEdit(2005, 2100, Panel2), "e_n", {310, 11, 58, 22});
    e_y = place(new SpinEdit(1, 12, Panel2), "e_y", {374, 11, 41, 22});
    l_m = caption("l_m", QString(), {8, 15}, font(), blue, Panel2);
    b_s = toolButton("b_s", Icon::save, "保存", {452, 5, 48, 31}, Panel2);
    b_c = toolButton("b_c", Icon::cancel, "取消", {506, 5, 48, 31}, Panel2);
    b_o = toolButton("b_o", Icon::prepare, "调整", {561, 5, 48, 31}, Panel2);
    b_d = toolButton("b_d", Icon::remove, "删除本月", {616, 5, 48, 31}, Panel2);

    Panel1 = new Panel(Panel::Border::None, {4, 69, 664, 412}, this);
    Panel1->setObjectName("Panel1");
    DBGrid1 = place(new DBGrid(DM->DS2, Panel1), "DBGrid1", {1, 1, 181, 411});
    DBGrid1->setColumns({{"XM", QString(), 53}, {"XB", QString(), 19}, {"bmmc", QString(), 71}});
    DBGrid1->setOptions(
        {.titles = false, .indicator = true, .lines = true, .rowLines = false, .rowSelect = true});
    DBGrid1->setEnabled(false);
    // The list only follows the current employee, but the operator reads it all the time: it
    // keeps the colours of a usable grid.
    QPalette listColours = DBGrid1->palette();
    for (const QPalette::ColorRole role :
         {QPalette::Text, QPalette::Base, QPalette::Highlight, QPalette::HighlightedText})
        listColours.setColor(QPalette::Disabled, role, listColours.color(QPalette::Active, role));
    DBGrid1->setPalette(listColours);
    Label2 = caption("Label2", "应发：", {200, 7}, bold, Qt::black, Panel1);
    e_fh = totalBox("e_fh", {238, 3, 100, 21}, Panel1);
    Label3 = caption("Label3", "扣款：", {360, 7}, bold, red, Panel1);
    e_kh = totalBox("e_kh", {397, 3, 100, 21}, Panel1);
    Label4 = caption("Label4", "实发：", {520, 7}, bold, blue, Panel1);
    e_sf = totalBox("e_sf", {556, 3, 100, 21}, Panel1);
    b_n = new FlatButton(Icon::next, "下一个", {479, 376, 88, 31}, Panel1);
    b_n->setObjectName("b_n");
    b_p = new FlatButton(Icon::previous, "前一个", {572, 376, 88, 31}, Panel1);
    b_p->setObjectName("b_p");
    Label5 =
        caption("Label5", "注：调整后请按“F1”键保存输入信息！", {219, 384}, font(), blue, Panel1);

    b_s->setEnabled(false);
    b_c->setEnabled(false);
    Panel1->setEnabled(false);
    e_n->setFocus();

    wire(e_n, &SpinEdit::changed, this, &Tfrm_gzlr::e_nChange);
    wire(e_y, &SpinEdit::changed, this, &Tfrm_gzlr::e_nChange);
    wire(b_o, &FlatButton::clicked, this, &Tfrm_gzlr::b_oClick);
    wire(b_s, &FlatButton::clicked, this, &Tfrm_gzlr::b_sClick);
    wire(b_c, &FlatButton::clicked, this, &Tfrm_gzlr::b_cClick);
    wire(b_d, &FlatButton::clicked, this, &Tfrm_gzlr::b_dClick);
    wire(b_n, &FlatButton::clicked, this, &Tfrm_gzlr::b_nClick);
    wire(b_p, &FlatButton::clicked, this, &Tfrm_gzlr::b_pClick);
    wire(e_fh, &CurrencyEdit::changed, this, &Tfrm_gzlr::e_fhChange);
    wire(e_kh, &CurrencyEdit::changed, this, &Tfrm_gzlr::e_fhChange);

    setContextMenuPolicy(Qt::ActionsContextMenu);
    a_jz = new QAction("结账/反结账…", this);
    a_jz->setObjectName("a_jz");
    addAction(a_jz);
    wire(a_jz, &QAction::triggered, this, &Tfrm_gzlr::a_jzClick);
    // The list itself only follows the employee; the panel around it takes the command, and
    // only while a month is being entered.
    wire(addRowAction(Panel1, QStringLiteral("从Excel导入本月金额…")), &QAction::triggered, this,
         &Tfrm_gzlr::importAmounts);
}

void Tfrm_gzlr::FormCreate() {
    DM->AQ2.close();
    DM->AQ2.setAfterScroll([this](Query &) { LoadEmployee(); });

    // No month is known yet, so this only shows the first-use text.
    showThisMonth(e_n, e_y);

    Query &items = DM->AQ1;
    setSql(items, {"select * from GZXMZD where s_fk='0'"}).open();
    earningCount = items.recordCount();
    setSql(items, {"select * from GZXMZD where s_fk='1'"}).open();
    deductionCount = items.recordCount();

    setSql(items, {"select * from GZXMZD ", "order by S_FK,bh"}).open();
    if (items.isEmpty())
        return;
    createItems();
    month.readRules();
    computed.setUp(itemEditors, itemColumns, month.rules());
    for (CurrencyEdit *editor : std::as_const(itemEditors))
        wire(editor, &CurrencyEdit::changed, this, &Tfrm_gzlr::SumTotals);
}

// Walks the items AQ1 holds; deduction items go on in the row the earning items leave off.
// Created last, the editors come last in the tab order, row by row, left to right.
void Tfrm_gzlr::createItems() {
    Query &items = DM->AQ1;
    int top = firstItemTop;
    int column = 0;
    QHash<QString, int> slotsOfKind; // so far
    for (; !items.eof(); items.next()) {
        if (column >= itemsPerRow) {
            top += itemRowHeight;
            column = 0;
        }
        const QPoint at(firstItemLeft + itemColumnWidth * column, top);
        const bool deduction = items.field("s_fk").asString() == SalaryColumns::deduction;
        const QColor colour = deduction ? red : QColor(Qt::black);
        QLabel *label =
            caption(QString(), items.field("mc").asString() + "：", at, font(), colour, Panel1);
        auto *editor = new CurrencyEdit(Panel1);
        editor->setGeometry(editorBesideLabel.translated(at));
        // Greyed like any other box while the panel is disabled.
        QPalette palette = editor->palette();
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
            palette.setColor(group, QPalette::Text, colour);
        editor->setPalette(palette);
        for (QWidget *control : QWidgetList{label, editor})
            control->setProperty("tag", deduction ? 1 : 0);
        itemLabels << label;
        itemEditors << editor;
        const QString kind = deduction ? SalaryColumns::deduction : SalaryColumns::earning;
        itemColumns << SalaryColumns::itemColumn(kind, ++slotsOfKind[kind]);
        ++column;
    }
}

void Tfrm_gzlr::FormActivate() {
    month.activate();
    e_nChange();
}

void Tfrm_gzlr::FormClose() {
    DM->AQ2.setAfterScroll(nullptr);
    DM->ADC.monthClaim().release();
}

QString Tfrm_gzlr::selectedMonth() const {
    return monthKey(e_n->value(), e_y->value());
}

// Until the status is read the window shows none, so a failed reading leaves no status
// behind that belonged to another month.
void Tfrm_gzlr::e_nChange() {
    b_o->setToolTip("录入");
    l_m->clear();
    month.choose(selectedMonth());
    showStatus();
}

void Tfrm_gzlr::showStatus() {
    b_o->setToolTip(month.status() == EntryMonth::Status::Entered ? "调整" : "录入");
    switch (month.status()) {
    case EntryMonth::Status::Unread:
        l_m->clear();
        return;
    case EntryMonth::Status::FirstUse:
        l_m->setText("第一次使用！");
        break;
    case EntryMonth::Status::Entered:
        l_m->setText("本月已录工资，可调整！");
        break;
    case EntryMonth::Status::Carried:
        l_m->setText("本月工资未录，参照：" + month.lastMonth());
        break;
    }
    l_m->adjustSize();
}

void Tfrm_gzlr::setEntryState(bool entry) {
    for (QWidget *control : QWidgetList{e_n, e_y, b_o, b_d})
        control->setEnabled(!entry);
    a_jz->setEnabled(!entry);
    b_s->setEnabled(entry);
    b_c->setEnabled(entry);
    Panel1->setEnabled(entry);
}

template <typename Work> void Tfrm_gzlr::whileEntering(Work &&work) {
    try {
        std::forward<Work>(work)();
    } catch (const DbError &failure) {
        if (!month.giveUpIfLost(failure))
            throw;
        setEntryState(false);
        showFailure(failure);
        Messages::information(entryLost);
    }
}

// The month is claimed first, so that no other copy enters it meanwhile, and its status read
// again once it is ours. A failed or cancelled preparation leaves the window in month
// selection with nothing claimed.
void Tfrm_gzlr::b_oClick() {
    if (!month.claim(selectedMonth())) {
        Messages::information(claimedElsewhere);
        return;
    }
    showStatus();
    {
        Progress progress(this, QStringLiteral("正在准备本月工资…"));
        month.prepare([&progress] { progress.pulse(); });
    }
    setEntryState(true);
}

void Tfrm_gzlr::LoadEmployee() {
    const Query &list = DM->AQ2;
    if (month.isRereading() || !list.isOpen() || list.isEmpty())
        return;
    // First, so that the boxes set below recompute for this employee and month.
    computed.loadEmployee(list.field("ygh").asInteger(), month.month());
    {
        const QScopedValueRollback<bool> quiet(loading, true);
        for (int i = 0; i < itemEditors.size(); ++i)
            itemEditors.at(i)->setValue(list.field(itemColumns.at(i)).asCurrency());
    }
    // A stored month shows what was withheld until the clerk types for the employee.
    if (month.isAdjusting())
        showTotals();
    else
        SumTotals();
    if (Panel1->isEnabled() && !itemEditors.isEmpty())
        itemEditors.first()->setFocus();
}

void Tfrm_gzlr::SumTotals() {
    if (loading)
        return;
    computed.recompute();
    showTotals();
}

void Tfrm_gzlr::showTotals() {
    Currency earnings;
    Currency deductions;
    for (int i = 0; i < earningCount; ++i)
        earnings += itemEditors.at(i)->value();
    for (int i = earningCount; i < earningCount + deductionCount; ++i)
        deductions += itemEditors.at(i)->value();
    e_fh->setValue(earnings);
    e_kh->setValue(deductions);
}

void Tfrm_gzlr::e_fhChange() {
    e_sf->setValue(e_fh->value() - e_kh->value());
}

bool Tfrm_gzlr::FormKeyDown(QKeyEvent *event) {
    if (event->key() != Qt::Key_F1)
        return false;
    guarded([this] { StoreEmployee(); });
    return true;
}

// Writes the amounts as typed, whether or not the box has been left, then shows them as
// stored and moves on.
void Tfrm_gzlr::StoreEmployee() {
    if (DM->AQ2.isEmpty())
        return;
    whileEntering([this] {
        computed.recompute();
        QList<EntryMonth::ItemAmount> amounts;
        for (int i = 0; i < itemEditors.size(); ++i)
            amounts.append({itemColumns.at(i), itemEditors.at(i)->value()});
        month.storeEmployee(amounts);
    });
}

// The amounts of a sheet into the month being entered; the employee shown is shown afresh,
// as the import left the worksheet.
void Tfrm_gzlr::importAmounts() {
    if (!month.isEntering())
        return;
    whileEntering([this] {
        AmountImportDialog dialog(month);
        dialog.FormCreate();
        if (dialog.exec() == QDialog::Accepted)
            LoadEmployee();
    });
}

void Tfrm_gzlr::b_nClick() {
    whileEntering([] { DM->AQ2.next(); });
}

void Tfrm_gzlr::b_pClick() {
    whileEntering([] { DM->AQ2.prior(); });
}

// The stored month and its replacement land together: if either step fails, GZB keeps the
// month as it was and the worksheet stays for another try. Afterwards the panel shows the
// current employee as stored, not what was typed there without F1.
void Tfrm_gzlr::b_sClick() {
    whileEntering([this] {
        bool stored = false;
        {
            Progress progress(this, QStringLiteral("正在保存本月工资…"));
            stored = month.save([&progress] { progress.pulse(); });
        }
        if (!stored) {
            Messages::information("工作表中没有本月的工资，未保存，本月已存的工资保持不变！");
            return;
        }
        const QString saved = month.month();
        setEntryState(false);
        LoadEmployee();
        month.close();
        FormActivate();
        offerLaterMonths(saved);
    });
}

// A stored month is never changed without the clerk's word, nor one another copy is
// entering: that copy's save computes its tax afresh.
void Tfrm_gzlr::offerLaterMonths(const QString &saved) {
    const QStringList later = month.laterMonthsOfYear(saved);
    if (later.isEmpty())
        return;
    if (!Messages::confirm(
            "本年以后各月（" + later.join("、") +
            "）已录工资，其个人所得税可能因本月改变。是否重新计算这些月份的个人所得税?"))
        return;
    EntryMonth::Recomputation done;
    {
        Progress progress(this, QStringLiteral("正在重新计算个人所得税…"), int(later.size()));
        done = month.recomputeLaterMonths(later, [&progress](int step) { progress.step(step); });
    }
    if (!done.held.isEmpty())
        Messages::information(done.held.join("、") +
                              "月工资正由其他操作员录入，其个人所得税未重新计算，"
                              "将在该操作员保存时重新计算！");
    if (!done.stoppedAt.isEmpty())
        Messages::information(monthCaption(done.stoppedAt) +
                              "已结账，该月及其后各月的个人所得税未重新计算！");
}

void Tfrm_gzlr::b_cClick() {
    setEntryState(false);
    month.close();
    FormActivate();
}

// The month's status is read afresh afterwards: closing or reopening does not change it, but
// another copy may have meanwhile.
void Tfrm_gzlr::a_jzClick() {
    MonthCloseDialog dialog(selectedMonth());
    dialog.FormCreate();
    dialog.exec();
    e_nChange();
}

// A month another copy is entering is not deleted under it.
void Tfrm_gzlr::b_dClick() {
    const EntryMonth::Removal removal = month.remove(selectedMonth(), [this] {
        return Messages::confirm("是否真的删除:" + selectedMonth() + " 月数据?");
    });
    if (removal == EntryMonth::Removal::HeldElsewhere)
        Messages::information(claimedElsewhere);
    if (removal == EntryMonth::Removal::Removed)
        FormActivate();
}
