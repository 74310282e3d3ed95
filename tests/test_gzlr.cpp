// The salary entry window on a real database file, worked through its own controls: the item
// boxes it builds, the month status, the worksheet each status prepares, entering amounts,
// and saving, cancelling and deleting a month, including a save the engine refuses; and two
// copies of the program working on one file, each with a data module of its own.
#include "currencyedit.h"
#include "currencyprint.h"
#include "dbgrid.h"
#include "flatbutton.h"
#include "gzlr.h"
#include "messages.h"
#include "modulerun.h"
#include "operator.h"
#include "othercopy.h"
#include "panel.h"
#include "progresscancel.h"
#include "spinedit.h"
#include "sqllines.h"
#include "testserver.h"
#include "workspace.h"

#include <QLabel>
#include <QScopeGuard>
#include <QTest>

namespace {

Currency yuan(const char *text) {
    return Currency::fromText(QString::fromUtf8(text)).value();
}

// Departments 1 办公室 and 2 财务科. Items by slot: f1 基本工资 (carried), f2 加班费 (reset),
// k1 养老保险 (carried), k2 事假扣款 (reset). Employees by number: 1 张三 and 2 李四, active;
// 3 王五, deactivated since November; 4 赵六, active in a department that does not exist;
// 5 孙七, joined after November. November 2026 is stored for 1, 2 (then in a department
// named 旧财务科) and 3.
void addPayroll(const Workspace &workspace) {
    for (const char *sql : {
             "insert into BMZD (mc) values ('办公室')",
             "insert into BMZD (mc) values ('财务科')",
             "insert into GZXMZD (mc,S_JC,S_FK) values ('基本工资',1,'0')",
             "insert into GZXMZD (mc,S_JC,S_FK) values ('加班费',0,'0')",
             "insert into GZXMZD (mc,S_JC,S_FK) values ('养老保险',1,'1')",
             "insert into GZXMZD (mc,S_JC,S_FK) values ('事假扣款',0,'1')",
             "insert into YGZD (xm,xb,csrq,gzrq,bmh,zw,zt) values "
             "('张三','男','1980- 1- 2','2000- 3- 4',1,'主任','1')",
             "insert into YGZD (xm,xb,csrq,gzrq,bmh,zw,zt) values "
             "('李四','女','1985-11-12','2008- 7- 1',2,'会计','1')",
             "insert into YGZD (xm,xb,csrq,gzrq,bmh,zw,zt) values "
             "('王五','男','1970- 5- 6','1990- 1- 1',1,'司机','2')",
             "insert into YGZD (xm,xb,csrq,gzrq,bmh,zw,zt) values "
             "('赵六','男','1990- 1- 1','2015- 1- 1',9,'保安','1')",
             "insert into YGZD (xm,xb,csrq,gzrq,bmh,zw,zt) values "
             "('孙七','女','1995- 9- 9','2026-12- 1',2,'出纳','1')",
             "insert into GZB (ny,ygh,xm,xb,csrq,gzrq,bmmc,zw,zt,f1,f2,k1,k2) values "
             "('202611',1,'张三','男','1980- 1- 2','2000- 3- 4','办公室','主任','1',"
             "5000*10000,300*10000,400*10000,50*10000)",
             "insert into GZB (ny,ygh,xm,xb,csrq,gzrq,bmmc,zw,zt,f1,f2,k1,k2) values "
             "('202611',2,'李四','女','1985-11-12','2008- 7- 1','旧财务科','会计','1',"
             "4000*10000,200*10000,300*10000,20*10000)",
             "insert into GZB (ny,ygh,xm,xb,csrq,gzrq,bmmc,zw,zt,f1,f2,k1,k2) values "
             "('202611',3,'王五','男','1970- 5- 6','1990- 1- 1','办公室','司机','1',"
             "3000*10000,100*10000,200*10000,10*10000)",
         })
        workspace.exec(QString::fromUtf8(sql));
}

// "1 202612 张三 办公室 5000 0 400 0": number, month, name, department and f1, f2, k1, k2 of
// every row of a table, by employee number. Read on AQUP, which the window leaves alone
// outside preparation.
QStringList salaryRows(const QString &table, const QString &condition = QString()) {
    Query &rows = DM->AQUP;
    openLines(rows, {"select * from " + table + condition + " order by ygh"});
    QStringList read;
    for (; !rows.eof(); rows.next()) {
        QStringList fields;
        for (const char *name : {"ygh", "ny", "xm", "bmmc", "f1", "f2", "k1", "k2"})
            fields << rows.field(QLatin1String(name)).asString();
        read << fields.join(QLatin1Char(' '));
    }
    return read;
}

void chooseMonth(Tfrm_gzlr &window, int year, int month) {
    window.e_n->setValue(year);
    window.e_y->setValue(month);
}

// Types over what the box shows.
void type(CurrencyEdit *editor, const char *amount) {
    editor->setFocus();
    editor->selectAll();
    QTest::keyClicks(editor, QLatin1String(amount));
}

void pressF1(Tfrm_gzlr &window, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget *focused = QApplication::focusWidget();
    QTest::keyClick(focused ? focused : &window, Qt::Key_F1, modifiers);
}

bool inEntryState(const Tfrm_gzlr &window) {
    const bool entry = window.b_s->isEnabled() && window.b_c->isEnabled() &&
                       window.Panel1->isEnabled() && DM->AQ2.isOpen();
    const bool selection = window.e_n->isEnabled() && window.e_y->isEnabled() &&
                           window.b_o->isEnabled() && window.b_d->isEnabled();
    return entry && !selection;
}

using Drive = std::function<void(Tfrm_gzlr &)>;

const QString claimedElsewhere = QStringLiteral("本月工资正由其他操作员录入！");

// f1 of every stored row of a month, read from the file by a connection of the test's own:
// "1|5000" for employee 1.
QStringList storedMonth(const QString &month) {
    return fileRows("select ygh,f1 from GZB where ny='" + month + "' order by ygh");
}

} // namespace

class EntryTest : public QObject {
    Q_OBJECT
private slots:
    void itemBoxes_data();
    void itemBoxes();
    void preparation_data();
    void preparation();
    void missingTextsBecomeEmptyTexts_data();
    void missingTextsBecomeEmptyTexts();
    void failedPreparationLeavesTheWorksheetEmpty();
    void totalsFollowTyping();
    void nextAndPreviousMarks();
    void oneMonthFromFirstUseToDeletion();
    void refusedSaveKeepsTheMonthAndTheWorksheet();
    void closingInEntryAbandonsTheMonth();
    void saveNeverEmptiesAStoredMonth();
    void worksheetKeepsItsOwnColumnOrder();
    void monthKeysStayInRange_data();
    void monthKeysStayInRange();
    void statusIsReadForEveryMonthChosen();
    void failedStatusShowsNoStatus();
    void panelShowsWhatWasSaved();
    void cancelledWorkChangesNothing_data();
    void cancelledWorkChangesNothing();
    void keysReachTheWindowAfterPreparing();
    void otherCopyOpeningLeavesTheWorksheet();
    void monthBeingEnteredIsRefused_data();
    void monthBeingEnteredIsRefused();
    void lostConnectionGivesTheMonthUp();
};

// Three items to a row from the top, the deduction items going on where the earning items
// stop; red with tag 1 for deductions.
void EntryTest::itemBoxes_data() {
    QTest::addColumn<QString>("kinds"); // one S_FK per item, in bh order
    QTest::addColumn<int>("index");
    QTest::addColumn<QPoint>("label");

    const QString fullSet = QString(20, QChar('0')) + QString(20, QChar('1'));
    QTest::newRow("first item") << "0001" << 0 << QPoint(200, 40);
    QTest::newRow("3 + 1: the deduction starts the second row") << "0001" << 3 << QPoint(200, 65);
    QTest::newRow("1 + 3: deductions go on in the first row") << "0111" << 2 << QPoint(520, 40);
    QTest::newRow("1 + 3: the last deduction wraps") << "0111" << 3 << QPoint(200, 65);
    QTest::newRow("deductions by bh after earnings entered later")
        << "1100" << 2 << QPoint(520, 40);
    QTest::newRow("40 items: the 14th row holds one") << fullSet << 39 << QPoint(200, 365);
    QTest::newRow("40 items: the first deduction") << fullSet << 20 << QPoint(520, 190);
}

void EntryTest::itemBoxes() {
    QFETCH(QString, kinds);
    QFETCH(int, index);
    QFETCH(QPoint, label);

    Workspace workspace;
    for (int i = 0; i < kinds.size(); ++i)
        workspace.exec(QStringLiteral("insert into GZXMZD (mc,S_JC,S_FK) values ('%1',1,'%2')")
                           .arg(i == 0 ? QString() : QStringLiteral("项目%1").arg(i))
                           .arg(kinds.at(i)));
    // The boxes stand in S_FK, bh order: earning items first.
    QString ordered = kinds;
    std::sort(ordered.begin(), ordered.end());

    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QCOMPARE(window.itemLabels.size(), kinds.size());
        QCOMPARE(window.itemEditors.size(), kinds.size());
        QLabel *caption = window.itemLabels.at(index);
        CurrencyEdit *editor = window.itemEditors.at(index);
        QCOMPARE(caption->parentWidget(), window.Panel1);
        QCOMPARE(caption->pos(), label);
        QCOMPARE(editor->geometry().topLeft(), label + QPoint(60, -4));
        QCOMPARE(editor->width(), 70);
        const bool deduction = ordered.at(index) == QChar('1');
        const QColor colour = deduction ? QColor(255, 0, 0) : QColor(Qt::black);
        QCOMPARE(caption->palette().color(QPalette::WindowText), colour);
        QCOMPARE(editor->palette().color(QPalette::Active, QPalette::Text), colour);
        QVERIFY2(editor->palette().color(QPalette::Disabled, QPalette::Text) != colour,
                 "greyed with the disabled panel");
        QCOMPARE(caption->property("tag").toInt(), deduction ? 1 : 0);
        QCOMPARE(editor->property("tag").toInt(), deduction ? 1 : 0);
        // The item entered first has no name: its caption is the colon alone.
        const int unnamed = kinds.at(0) == QChar('0') ? 0 : int(kinds.count(QChar('0')));
        QCOMPARE(window.itemLabels.at(unnamed)->text(), "：");
    }));
}

// The worksheet each month status prepares, and the status text that announced it.
void EntryTest::preparation_data() {
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<int>("month"); // of 2026
    QTest::addColumn<QString>("status");
    QTest::addColumn<QStringList>("worksheet");

    const QStringList carried = {"1 202612 张三 办公室 5000 0 400 0",
                                 "2 202612 李四 旧财务科 4000 0 300 0",
                                 "5 202612 孙七 财务科 0 0 0 0"};
    QTest::newRow("first use: active employees with a department")
        << QStringList{"delete from GZB"} << 12 << "第一次使用！"
        << QStringList{"1 202612 张三 办公室 0 0 0 0", "2 202612 李四 财务科 0 0 0 0",
                       "5 202612 孙七 财务科 0 0 0 0"};
    QTest::newRow("first use without active employees")
        << QStringList{"delete from GZB", "update YGZD set zt='2'"} << 12 << "第一次使用！"
        << QStringList();
    QTest::newRow("entered: the stored month as it is")
        << QStringList() << 11 << "本月已录工资，可调整！"
        << QStringList{"1 202611 张三 办公室 5000 300 400 50",
                       "2 202611 李四 旧财务科 4000 200 300 20",
                       "3 202611 王五 办公室 3000 100 200 10"};
    QTest::newRow("not entered: carried, reset, joined")
        << QStringList() << 12 << "本月工资未录，参照：202611" << carried;
    QStringList january = carried;
    january.replaceInStrings("202612", "202601");
    QTest::newRow("not entered, before the last entered month")
        << QStringList() << 1 << "本月工资未录，参照：202611" << january;
    QTest::newRow("not entered, every item carried")
        << QStringList{"update GZXMZD set S_JC=1"} << 12 << "本月工资未录，参照：202611"
        << QStringList{"1 202612 张三 办公室 5000 300 400 50",
                       "2 202612 李四 旧财务科 4000 200 300 20", "5 202612 孙七 财务科 0 0 0 0"};
    QTest::newRow("not entered, no items")
        << QStringList{"delete from GZXMZD"} << 12 << "本月工资未录，参照：202611"
        << QStringList{"1 202612 张三 办公室 5000 300 400 50",
                       "2 202612 李四 旧财务科 4000 200 300 20", "5 202612 孙七 财务科 0 0 0 0"};
}

void EntryTest::preparation() {
    QFETCH(QStringList, changes);
    QFETCH(int, month);
    QFETCH(QString, status);
    QFETCH(QStringList, worksheet);

    Workspace workspace;
    addPayroll(workspace);
    for (const QString &change : std::as_const(changes))
        workspace.exec(change);
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        chooseMonth(window, 2026, month);
        QCOMPARE(window.l_m->text(), status);
        QCOMPARE(window.b_o->toolTip(), status.startsWith("本月已录") ? "调整" : "录入");
        window.b_o->click();
        QVERIFY(inEntryState(window));
        QCOMPARE(DM->AQ2.recordCount(), worksheet.size());
        QCOMPARE(salaryRows("temp_gzb"), worksheet);
        if (!worksheet.isEmpty())
            QCOMPARE(window.DBGrid1->currentIndex().row(), 0);
    }));
    QVERIFY(workspace.shownMessages().isEmpty());
}

// An employee's texts left out, and a department without a name, reach the worksheet as empty
// texts on both statuses that add employees, as they always have: nothing downstream finds
// a null where a text was copied.
void EntryTest::missingTextsBecomeEmptyTexts_data() {
    QTest::addColumn<QStringList>("changes");
    QTest::newRow("first use") << QStringList{"delete from GZB"};
    QTest::newRow("not entered: a new employee") << QStringList();
}

void EntryTest::missingTextsBecomeEmptyTexts() {
    QFETCH(QStringList, changes);

    Workspace workspace;
    addPayroll(workspace);
    for (const QString &change : std::as_const(changes))
        workspace.exec(change);
    workspace.exec("insert into BMZD (mc) values (null)");
    workspace.exec("insert into YGZD (bh,bmh,zt) values (6,3,'1')");
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        chooseMonth(window, 2026, 12);
        window.b_o->click();
        openLines(DM->AQUP, {"select xm,xb,csrq,gzrq,bmmc,zw from temp_gzb where ygh=6"});
        QCOMPARE(DM->AQUP.recordCount(), 1);
        for (int column = 0; column < DM->AQUP.columnCount(); ++column) {
            const Field text = DM->AQUP.cell(0, column);
            QVERIFY2(!text.isNull() && text.asString().isEmpty(),
                     qPrintable(DM->AQUP.columnName(column)));
        }
    }));
    QVERIFY(workspace.shownMessages().isEmpty());
}

void EntryTest::failedPreparationLeavesTheWorksheetEmpty() {
    Workspace workspace;
    addPayroll(workspace);
    // The carried rows go in; the row for the employee who joined is refused. The worksheet is
    // the connection's own, and so is the trigger.
    workspace.refuseInserts("Temp_GZB", "worksheet refused", "new.ygh=5");
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        chooseMonth(window, 2026, 12);
        window.b_o->click();
        QCOMPARE(workspace.shownTexts(), QStringList{engineRefusal("worksheet refused.")});
        QVERIFY(salaryRows("temp_gzb").isEmpty());
        QVERIFY(window.b_o->isEnabled() && window.e_n->isEnabled());
        QVERIFY(!window.Panel1->isEnabled() && !window.b_s->isEnabled());
        QVERIFY(!DM->AQ2.isOpen());
    }));
}

// Gross pay, deductions and net pay follow every keystroke, as exact sums.
void EntryTest::totalsFollowTyping() {
    Workspace workspace;
    addPayroll(workspace);
    workspace.exec("delete from GZB");
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        chooseMonth(window, 2026, 12);
        window.b_o->click();
        type(window.itemEditors[0], "300.5");
        type(window.itemEditors[1], "200");
        QCOMPARE(window.e_fh->value(), yuan("500.5"));
        QCOMPARE(window.e_sf->value(), yuan("500.5"));
        type(window.itemEditors[2], "50.25");
        QCOMPARE(window.e_fh->text(), "¥500.50");
        QCOMPARE(window.e_kh->text(), "¥50.25");
        QCOMPARE(window.e_sf->text(), "¥450.25");
        QCOMPARE(window.e_sf->value(), yuan("450.25"));
        type(window.itemEditors[3], "0.1");
        QCOMPARE(window.e_kh->value(), yuan("50.35"));
        QCOMPARE(window.e_sf->value(), yuan("450.15"));
    }));
}

// Next and previous move one employee and load the stored amounts, discarding what was typed;
// a move into the end reloads once, a further one does nothing, and previous right after the
// list opened does nothing at all. What was typed shows whether the editors were reloaded.
void EntryTest::nextAndPreviousMarks() {
    Workspace workspace;
    addPayroll(workspace);
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        chooseMonth(window, 2026, 11);
        window.b_o->click();
        CurrencyEdit *basic = window.itemEditors[0];
        const auto current = [] { return DM->AQ2.field("xm").asString(); };

        type(basic, "1");
        window.b_p->click();
        QCOMPARE(basic->text(), "1");
        QCOMPARE(current(), "张三");

        window.b_n->click();
        QCOMPARE(current(), "李四");
        QCOMPARE(window.DBGrid1->currentIndex().row(), 1);
        QVERIFY(basic->hasFocus());
        QCOMPARE(basic->text(), "4000");
        type(basic, "9");
        window.b_n->click();
        QCOMPARE(current(), "王五");
        QCOMPARE(basic->text(), "3000");

        type(basic, "9");
        window.b_n->click();
        QCOMPARE(current(), "王五");
        QCOMPARE(basic->text(), "3000");
        type(basic, "9");
        window.b_n->click();
        QCOMPARE(basic->text(), "9");

        window.b_p->click();
        window.b_p->click();
        QCOMPARE(current(), "张三");
        QCOMPARE(basic->text(), "5000");
        type(basic, "9");
        window.b_p->click();
        QCOMPARE(basic->text(), "5000");
        type(basic, "9");
        window.b_p->click();
        QCOMPARE(basic->text(), "9");
    }));
    QCOMPARE(salaryRows("temp_gzb").first(), "1 202611 张三 办公室 5000 300 400 50");
}

void EntryTest::oneMonthFromFirstUseToDeletion() {
    Workspace workspace;
    addPayroll(workspace);
    workspace.exec("delete from GZB");
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        chooseMonth(window, 2026, 12);
        QCOMPARE(window.l_m->text(), "第一次使用！");
        window.b_o->click();
        QVERIFY(inEntryState(window));

        // Enter walks the item boxes and wraps from the last to the first.
        type(window.itemEditors[0], "5000");
        for (const char *amount : {"300.5", "400", "50"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QTest::keyClicks(QApplication::focusWidget(), QLatin1String(amount));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(window.itemEditors[0]->hasFocus());
        QCOMPARE(window.itemEditors[3]->value(), yuan("50"));

        // F1 stores the boxes as typed, with any modifier, and moves on.
        pressF1(window);
        QCOMPARE(DM->AQ2.field("ygh").asInteger(), 2);
        QCOMPARE(window.itemEditors[0]->text(), "");
        QVERIFY(window.itemEditors[0]->hasFocus());
        type(window.itemEditors[0], "4000");
        pressF1(window, Qt::ShiftModifier);
        type(window.itemEditors[0], "3000.05");
        pressF1(window, Qt::ControlModifier);
        // At the last employee: stored, read back, no wrap to the first.
        QCOMPARE(DM->AQ2.field("ygh").asInteger(), 5);
        QCOMPARE(window.itemEditors[0]->text(), "3000.05");
        QVERIFY(window.itemEditors[0]->hasFocus());
        QCOMPARE(window.e_fh->value(), yuan("3000.05"));
        QVERIFY(salaryRows("GZB").isEmpty());

        window.b_s->click();
        QVERIFY(!window.b_s->isEnabled() && !window.Panel1->isEnabled());
        QVERIFY(window.e_n->isEnabled() && window.b_o->isEnabled());
        QVERIFY(!DM->AQ2.isOpen());
        QCOMPARE(window.l_m->text(), "本月已录工资，可调整！");
        QCOMPARE(window.b_o->toolTip(), "调整");
        QVERIFY(salaryRows("temp_gzb").isEmpty());
        const QStringList saved = {"1 202612 张三 办公室 5000 300.5 400 50",
                                   "2 202612 李四 财务科 4000 0 0 0",
                                   "5 202612 孙七 财务科 3000.05 0 0 0"};
        QCOMPARE(salaryRows("GZB"), saved);

        // Adjusting: an amount typed without F1 is not saved, one stored with F1 is.
        window.b_o->click();
        window.b_n->click();
        type(window.itemEditors[0], "1");
        window.b_c->click();
        QCOMPARE(salaryRows("GZB"), saved);
        QVERIFY(salaryRows("temp_gzb").isEmpty());
        window.b_o->click();
        window.b_n->click();
        type(window.itemEditors[0], "4100");
        pressF1(window);
        type(window.itemEditors[1], "7");
        window.b_s->click();
        QCOMPARE(salaryRows("GZB", " where ygh=2"), QStringList{"2 202612 李四 财务科 4100 0 0 0"});
        QCOMPARE(salaryRows("GZB", " where ygh=5"), QStringList{saved.last()});

        // Deleting asks first; only Yes deletes, and the month status follows.
        workspace.answerConfirmations({false});
        window.b_d->click();
        QCOMPARE(workspace.shownTexts(), QStringList{"是否真的删除:202612 月数据?"});
        QCOMPARE(salaryRows("GZB").size(), 3);
        workspace.answerConfirmations({true});
        window.b_d->click();
        QVERIFY(salaryRows("GZB").isEmpty());
        QCOMPARE(window.l_m->text(), "第一次使用！");
    }));
}

// The engine refuses the copy of a month being adjusted, after its stored rows were deleted:
// the month stays in GZB as it was, the worksheet keeps what F1 stored, and the window stays
// in entry so that saving can be tried again.
void EntryTest::refusedSaveKeepsTheMonthAndTheWorksheet() {
    Workspace workspace;
    addPayroll(workspace);
    const QStringList stored = salaryRows("GZB");
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        chooseMonth(window, 2026, 11);
        window.b_o->click();
        type(window.itemEditors[0], "9999");
        pressF1(window);
        const QStringList worksheet = salaryRows("temp_gzb");
        QCOMPARE(worksheet.first(), "1 202611 张三 办公室 9999 300 400 50");

        workspace.refuseInserts("GZB", "salaries refused");
        window.b_s->click();
        QCOMPARE(workspace.shownTexts(), QStringList{engineRefusal("salaries refused.")});
        QCOMPARE(salaryRows("GZB"), stored);
        QCOMPARE(salaryRows("temp_gzb"), worksheet);
        QVERIFY(inEntryState(window));
        QCOMPARE(DM->AQ2.field("ygh").asInteger(), 2);

        workspace.stopRefusingInserts("GZB");
        window.b_s->click();
        QCOMPARE(salaryRows("GZB"), worksheet);
        QVERIFY(!inEntryState(window));
    }));
}

// Closing neither saves nor asks; the closed window is no longer told about the list, and the
// next opening starts from month selection with an empty worksheet.
void EntryTest::closingInEntryAbandonsTheMonth() {
    Workspace workspace;
    addPayroll(workspace);
    const QStringList stored = salaryRows("GZB");
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        chooseMonth(window, 2026, 11);
        window.b_o->click();
        window.itemEditors[0]->setValue(yuan("1"));
        pressF1(window);
    }));
    QCOMPARE(salaryRows("temp_gzb").first(), "1 202611 张三 办公室 1 300 400 50");
    openLines(DM->AQ2, {"select * from temp_gzb order by ygh"});
    DM->AQ2.next();

    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QVERIFY(window.b_o->isEnabled() && !window.Panel1->isEnabled());
        QVERIFY(salaryRows("temp_gzb").isEmpty());
    }));
    QCOMPARE(salaryRows("GZB"), stored);
    QVERIFY(workspace.shownMessages().isEmpty());
}

// A worksheet with no row of a month that GZB holds would replace the month by nothing: the
// save is refused with a message, the month stays whole and the window stays in entry.
void EntryTest::saveNeverEmptiesAStoredMonth() {
    Workspace workspace;
    addPayroll(workspace);
    const QStringList stored = storedMonth("202611");
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        chooseMonth(window, 2026, 11);
        window.b_o->click();
        setSql(DM->AQUP, {"delete from temp_gzb"}).execSql();
        window.b_s->click();
        QCOMPARE(workspace.shownMessages().size(), 1);
        QCOMPARE(workspace.shownMessages().first().kind, Messages::Kind::Information);
        QCOMPARE(storedMonth("202611"), stored);
        QVERIFY(inEntryState(window));
    }));
}

// The file's own Temp_GZB, unused now, may have its columns in any order, or be missing: the
// amounts land in their own columns all the same.
void EntryTest::worksheetKeepsItsOwnColumnOrder() {
    Workspace workspace;
    addPayroll(workspace);
    // The database's own table, not the connection's worksheet of the same name.
    const QString shared = testsOnServer() ? "public.Temp_GZB" : "main.Temp_GZB";
    workspace.exec("drop table " + shared);
    workspace.exec("create table " + shared +
                   " (k2 INTEGER, k1 INTEGER, f2 INTEGER, f1 INTEGER, ny TEXT, ygh INTEGER)");
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        chooseMonth(window, 2026, 11);
        window.b_o->click();
        type(window.itemEditors[0], "5100");
        pressF1(window);
        window.b_s->click();
        chooseMonth(window, 2026, 12);
        window.b_o->click();
        window.b_s->click();
    }));
    QVERIFY(workspace.shownTexts().isEmpty());
    QCOMPARE(fileRows("select ygh,ny,f1,f2,k1,k2 from GZB order by ny,ygh"),
             (QStringList{"1|202611|5100|300|400|50", "2|202611|4000|200|300|20",
                          "3|202611|3000|100|200|10", "1|202612|5100|0|400|0",
                          "2|202612|4000|0|300|0", "5|202612|0|0|0|0"}));
    QVERIFY(fileRows("select * from " + shared).isEmpty());
}

// A year or month typed and not yet left is brought into range by whatever acts on it: the
// buttons take no focus, so the box is never left before they act.
void EntryTest::monthKeysStayInRange_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("month");

    QTest::newRow("year cut short") << "e_n"
                                    << "202"
                                    << "200511";
    QTest::newRow("year too long") << "e_n"
                                   << "99999"
                                   << "210011";
    QTest::newRow("month 13") << "e_y"
                              << "13"
                              << "202612";
    QTest::newRow("month 0") << "e_y"
                             << "0"
                             << "202601";
}

void EntryTest::monthKeysStayInRange() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, month);

    Workspace workspace;
    addPayroll(workspace);
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        chooseMonth(window, 2026, 11);
        SpinEdit *edit = box == "e_n" ? window.e_n : window.e_y;
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), typed);
        QCOMPARE(window.l_m->text(), "本月工资未录，参照：202611");
        window.b_o->click();
        window.b_s->click();
        workspace.answerConfirmations({true});
        window.b_d->click();
        QCOMPARE(workspace.shownTexts(), QStringList{"是否真的删除:" + month + " 月数据?"});
    }));
    QCOMPARE(fileRows("select distinct ny from GZB"), QStringList{"202611"});
}

// Another copy saves the first month while this window says first use: choosing a month
// reads the file again.
void EntryTest::statusIsReadForEveryMonthChosen() {
    Workspace workspace;
    addPayroll(workspace);
    workspace.exec("delete from GZB");
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        chooseMonth(window, 2026, 11);
        QCOMPARE(window.l_m->text(), "第一次使用！");
        workspace.exec("insert into GZB (ny,ygh) values ('202610',1)");
        window.e_y->setValue(12);
        QCOMPARE(window.l_m->text(), "本月工资未录，参照：202610");
        window.e_y->setValue(10);
        QCOMPARE(window.l_m->text(), "本月已录工资，可调整！");
        QCOMPARE(window.b_o->toolTip(), "调整");
    }));
}

// A status that cannot be read is shown as the error alone; no status of an earlier month
// stays, and the month cannot be prepared on a guess.
void EntryTest::failedStatusShowsNoStatus() {
    Workspace workspace;
    addPayroll(workspace);
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        chooseMonth(window, 2026, 11);
        QCOMPARE(window.l_m->text(), "本月已录工资，可调整！");
        workspace.exec("alter table GZB rename to GZB_away");
        window.e_y->setValue(12);
        QCOMPARE(workspace.shownTexts(),
                 QStringList{engineRefusal(testsOnServer() ? "relation \"gzb\" does not exist."
                                                           : "no such table: GZB.")});
        QCOMPARE(window.l_m->text(), QString());
        window.b_o->click();
        QVERIFY(!inEntryState(window));
        QVERIFY(salaryRows("temp_gzb").isEmpty());
    }));
}

// After saving, the greyed panel shows the last employee as saved, not an amount typed there
// without F1, and totals to match.
void EntryTest::panelShowsWhatWasSaved() {
    Workspace workspace;
    addPayroll(workspace);
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        chooseMonth(window, 2026, 11);
        window.b_o->click();
        type(window.itemEditors[0], "7777");
        window.b_s->click();
        QCOMPARE(window.itemEditors[0]->value(), yuan("5000"));
        QCOMPARE(window.e_fh->value(), yuan("5300"));
        QCOMPARE(window.e_sf->value(), yuan("4850"));
    }));
    QCOMPARE(storedMonth("202611").first(), "1|5000");
}

// Preparing and saving tell the clerk what they are doing, and can be cancelled until their
// work lands: a cancelled preparation leaves the worksheet empty and the window in month
// selection, a cancelled save leaves the stored month as it was and the window in entry.
void EntryTest::cancelledWorkChangesNothing_data() {
    QTest::addColumn<QString>("work");
    QTest::addColumn<QString>("shown");
    QTest::newRow("preparing") << "prepare"
                               << "正在准备本月工资…";
    QTest::newRow("saving") << "save"
                            << "正在保存本月工资…";
}

void EntryTest::cancelledWorkChangesNothing() {
    QFETCH(QString, work);
    QFETCH(QString, shown);

    Workspace workspace;
    addPayroll(workspace);
    const QStringList stored = salaryRows("GZB");
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        chooseMonth(window, 2026, 11);
        const auto seen = std::make_shared<QString>();
        if (work == "save") {
            window.b_o->click();
            window.itemEditors[0]->setValue(yuan("1"));
            pressF1(window);
        }
        const QStringList worksheet = salaryRows("temp_gzb");
        cancelProgressOf(&window, seen);
        (work == "prepare" ? window.b_o : window.b_s)->click();
        QCOMPARE(*seen, shown);
        QCOMPARE(inEntryState(window), work == "save");
        QCOMPARE(salaryRows("temp_gzb"), worksheet);
        QCOMPARE(salaryRows("GZB"), stored);
        // Nothing is left half done: the same work goes through afterwards.
        (work == "prepare" ? window.b_o : window.b_s)->click();
        QCOMPARE(inEntryState(window), work == "prepare");
    }));
    QVERIFY(workspace.shownMessages().isEmpty());
    if (work == "save")
        QCOMPARE(storedMonth("202611").first(), "1|1");
}

// Preparing a big month puts its progress window over the entry window for a while. Once it
// is gone the entry window is the clerk's again: F1, typed on the keyboard wherever the focus
// is, stores the first employee and moves on.
void EntryTest::keysReachTheWindowAfterPreparing() {
    Workspace workspace;
    addPayroll(workspace);
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        chooseMonth(window, 2026, 12);
        showProgressOf(&window);
        window.b_o->click();
        QVERIFY(inEntryState(window));
        QTRY_VERIFY(window.isActiveWindow());
        QCOMPARE(DM->AQ2.field("ygh").asInteger(), 1);
        QTest::keyClick(window.windowHandle(), Qt::Key_F1);
        QCOMPARE(DM->AQ2.field("ygh").asInteger(), 2);
        QVERIFY(window.itemEditors[0]->hasFocus());
    }));
}

// The other copy adjusts November; this one opens its entry window, which empties its own
// worksheet only, and prepares December. The other copy's save keeps November whole.
void EntryTest::otherCopyOpeningLeavesTheWorksheet() {
    Workspace workspace;
    addPayroll(workspace);
    OtherCopy other;
    Tfrm_gzlr &otherWindow = other.openEntry();
    other.act([&] {
        chooseMonth(otherWindow, 2026, 11);
        otherWindow.b_o->click();
        otherWindow.itemEditors[0]->setValue(yuan("5500"));
        pressF1(otherWindow);
    });
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        chooseMonth(window, 2026, 12);
        window.b_o->click();
        QCOMPARE(DM->AQ2.recordCount(), 3);
        other.act([&] { otherWindow.b_s->click(); });
        QCOMPARE(storedMonth("202611"), (QStringList{"1|5500", "2|4000", "3|3000"}));
        QCOMPARE(salaryRows("temp_gzb").size(), 3);
        window.b_s->click();
    }));
    QVERIFY(workspace.shownTexts().isEmpty());
    QCOMPARE(storedMonth("202612"), (QStringList{"1|5000", "2|4000", "5|0"}));
}

// The other copy is entering November: this one is refused November, to enter or to delete,
// until the other copy saves, cancels, closes its window or ends; December stays free.
void EntryTest::monthBeingEnteredIsRefused_data() {
    QTest::addColumn<QString>("action"); // of this copy: 录入 or 删除
    QTest::addColumn<QString>("ending"); // how the other copy lets go of the month

    for (const char *action : {"enter", "delete"})
        for (const char *ending : {"save", "cancel", "close", "end"})
            QTest::addRow("%s after the other copy's %s", action, ending) << action << ending;
}

void EntryTest::monthBeingEnteredIsRefused() {
    QFETCH(QString, action);
    QFETCH(QString, ending);

    Workspace workspace;
    addPayroll(workspace);
    const QStringList november = storedMonth("202611");
    OtherCopy other;
    Tfrm_gzlr &otherWindow = other.openEntry();
    other.act([&] {
        chooseMonth(otherWindow, 2026, 11);
        otherWindow.b_o->click();
    });
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        const auto act = [&] {
            workspace.answerConfirmations({true});
            (action == "enter" ? window.b_o : window.b_d)->click();
        };
        chooseMonth(window, 2026, 11);
        act();
        QCOMPARE(workspace.shownTexts(), QStringList{claimedElsewhere});
        QCOMPARE(workspace.shownMessages().first().kind, Messages::Kind::Information);
        QVERIFY(!inEntryState(window));
        QVERIFY(salaryRows("temp_gzb").isEmpty());
        QCOMPARE(storedMonth("202611"), november);

        chooseMonth(window, 2026, 12);
        window.b_o->click();
        QVERIFY(inEntryState(window));
        window.b_c->click();

        if (ending == "end")
            other.end();
        else
            other.act([&] {
                (ending == "save"     ? otherWindow.b_s
                 : ending == "cancel" ? otherWindow.b_c
                                      : otherWindow.SpeedButton3)
                    ->click();
            });
        workspace.clearShownMessages();
        chooseMonth(window, 2026, 11);
        act();
        if (action == "enter") {
            QVERIFY(inEntryState(window));
            QCOMPARE(DM->AQ2.recordCount(), 3);
            window.b_s->click();
            QCOMPARE(storedMonth("202611"), november);
        } else {
            QCOMPARE(workspace.shownTexts(), QStringList{"是否真的删除:202611 月数据?"});
            QVERIFY(storedMonth("202611").isEmpty());
        }
    }));
}

// The server ends the clerk's session while December is entered: at the next F1 the clerk is
// told the connection was lost and what went with it, and the window is back in month
// selection. Acting again makes the connection anew; December is prepared as it was never
// entered, and nothing of the lost entry reaches GZB.
void EntryTest::lostConnectionGivesTheMonthUp() {
    if (!testsOnServer())
        QSKIP("a file's connection is never lost");
    Workspace workspace;
    addPayroll(workspace);
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        chooseMonth(window, 2026, 12);
        window.b_o->click();
        type(window.itemEditors[0], "6000");
        pressF1(window);
        endProgramSession();
        type(window.itemEditors[0], "7000");
        pressF1(window);
        const QList<Messages::Shown> shown = workspace.shownMessages();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.at(0).kind, Messages::Kind::Error);
        QCOMPARE(shown.at(1).text, "本月未保存的录入已丢失，请重新录入");
        QVERIFY(window.e_n->isEnabled() && window.b_o->isEnabled());
        QVERIFY(!window.b_s->isEnabled() && !window.Panel1->isEnabled());
        QVERIFY(!DM->AQ2.isOpen());

        window.b_o->click();
        QVERIFY(inEntryState(window));
        QCOMPARE(salaryRows("temp_gzb").first(), "1 202612 张三 办公室 5000 0 400 0");
        window.b_s->click();
    }));
    QCOMPARE(workspace.shownMessages().size(), 2);
    QCOMPARE(storedMonth("202612"), (QStringList{"1|5000", "2|4000", "5|0"}));
}

QTEST_MAIN(EntryTest)
#include "test_gzlr.moc"
