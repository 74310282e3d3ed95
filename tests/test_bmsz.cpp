// The department window through its real widgets: adding and renaming, the save on leaving
// the name box, and a new name reaching the employee list while stored months keep the old.
#include "bmsz.h"
#include "messages.h"
#include "modulerun.h"
#include "operator.h"
#include "workspace.h"
#include "ygsz.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

namespace {

const QString saved = QStringLiteral("保存成功，是否继续添加?");

// Answers the next real message box with its first (Yes) or last (No) button.
void answerBox(bool yes) {
    QTimer::singleShot(0, [yes] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        (yes ? box->buttons().first() : box->buttons().last())->click();
    });
}

QStringList departments() {
    return fileRows("select bh,mc from BMZD order by bh");
}

} // namespace

class BmszTest : public QObject {
    Q_OBJECT
private slots:
    void addsUntilAnsweredNo();
    void renamesTheChosenDepartment();
    void emptyNameIsRefused();
    void failedSaveKeepsTheEntry();
    void realBoxHandsTheWindowBack();
    void modifyThenAddInsertsTheShownName();
    void renamedDepartmentShowsInTheEmployeeList();
};

// From an empty file: Modify does nothing, Add does; Yes opens the next entry, No ends it.
void BmszTest::addsUntilAnsweredNo() {
    Workspace workspace;
    workspace.answerConfirmations({true, false});
    runModule<Tfrm_bmsz>([&](Tfrm_bmsz &window) {
        QVERIFY(waitUntilActive(window));
        QVERIFY(window.DBGrid1->hasFocus());
        click(window.SpeedButton5);
        QVERIFY(!window.e_mc->isEnabled());

        click(window.SpeedButton8);
        QVERIFY(window.e_mc->hasFocus());
        type(" 办公室 ");
        pressEnter();
        QVERIFY2(window.e_mc->hasFocus() && window.e_mc->text().isEmpty(), "Yes: the next one");
        type("O'Hara & Co");
        clickRow(window.DBGrid1, 0);
        QCOMPARE(workspace.shownTexts(), (QStringList{saved, saved}));
        QVERIFY2(!window.e_mc->isEnabled(), "No: nothing can be typed until Add or Modify");
        QCOMPARE(window.DBGrid1->model()->rowCount(), 2);
    });
    QCOMPARE(departments(), (QStringList{"1| 办公室 ", "2|O'Hara & Co"}));
}

// Leaving the box unchanged updates all the same, and nothing is asked.
void BmszTest::renamesTheChosenDepartment() {
    Workspace workspace;
    workspace.exec("insert into BMZD (mc) values ('办公室'),('财务科'),('技术部')");
    runModule<Tfrm_bmsz>([&](Tfrm_bmsz &window) {
        QVERIFY(waitUntilActive(window));
        clickRow(window.DBGrid1, 1);
        click(window.SpeedButton5);
        QCOMPARE(window.e_bh->text(), QStringLiteral("2"));
        QCOMPARE(window.e_mc->text(), QStringLiteral("财务科"));
        window.e_mc->selectAll();
        type("财务部");
        pressEnter();
        QVERIFY(!window.e_mc->isEnabled());
        QVERIFY(window.e_bh->text().isEmpty());

        clickRow(window.DBGrid1, 2);
        click(window.SpeedButton5);
        pressEnter();
        QVERIFY(workspace.shownTexts().isEmpty());
    });
    QCOMPARE(departments(), (QStringList{"1|办公室", "2|财务部", "3|技术部"}));
}

void BmszTest::emptyNameIsRefused() {
    Workspace workspace;
    runModule<Tfrm_bmsz>([&](Tfrm_bmsz &window) {
        QVERIFY(waitUntilActive(window));
        click(window.SpeedButton8);
        type("  ");
        pressEnter();
        QCOMPARE(workspace.shownTexts(), QStringList{"部门不能为空！"});
        QCOMPARE(workspace.shownMessages().first().kind, Messages::Kind::Plain);
        QVERIFY2(window.DBGrid1->hasFocus(), "the focus goes on where it was going");
        QVERIFY(window.e_mc->isEnabled());
    });
    QVERIFY(departments().isEmpty());
}

// The engine's refusal is shown as it is; nothing is reported as saved, and the typed name
// stays for another try.
void BmszTest::failedSaveKeepsTheEntry() {
    Workspace workspace;
    workspace.refuseInserts("BMZD", "disk is full");
    runModule<Tfrm_bmsz>([&](Tfrm_bmsz &window) {
        QVERIFY(waitUntilActive(window));
        click(window.SpeedButton8);
        type("办公室");
        pressEnter();
        QCOMPARE(workspace.shownMessages().size(), 1);
        QCOMPARE(workspace.shownMessages().first().kind, Messages::Kind::Error);
        QVERIFY(workspace.shownTexts().first().contains("disk is full"));
        QVERIFY(window.e_mc->isEnabled());
        QCOMPARE(window.e_mc->text(), QStringLiteral("办公室"));
    });
    QVERIFY(departments().isEmpty());
}

// With real boxes and no window manager to hand the activation back after a box, the next
// entry is still saved when the operator leaves it.
void BmszTest::realBoxHandsTheWindowBack() {
    Workspace workspace;
    Messages::setResponder({});
    runModule<Tfrm_bmsz>([&](Tfrm_bmsz &window) {
        QVERIFY(waitUntilActive(window));
        click(window.SpeedButton8);
        type("一部");
        answerBox(true);
        pressEnter();
        QVERIFY(waitUntilActive(window));
        QVERIFY(window.e_mc->hasFocus());
        type("二部");
        answerBox(false);
        clickRow(window.DBGrid1, 0);
        QVERIFY(!window.e_mc->isEnabled());
    });
    QCOMPARE(departments(), (QStringList{"1|一部", "2|二部"}));
}

void BmszTest::modifyThenAddInsertsTheShownName() {
    Workspace workspace;
    workspace.exec("insert into BMZD (mc) values ('办公室')");
    runModule<Tfrm_bmsz>([&](Tfrm_bmsz &window) {
        QVERIFY(waitUntilActive(window));
        click(window.SpeedButton5);
        click(window.SpeedButton8);
        QCOMPARE(window.e_mc->text(), QStringLiteral("办公室"));
        pressEnter();
        QCOMPARE(workspace.shownTexts(), QStringList{saved});
    });
    QCOMPARE(departments(), (QStringList{"1|办公室", "2|办公室"}));
}

void BmszTest::renamedDepartmentShowsInTheEmployeeList() {
    Workspace workspace;
    workspace.exec("insert into BMZD (mc) values ('财务科')");
    workspace.exec("insert into YGZD (xm,xb,csrq,gzrq,bmh,zw) values "
                   "('张三','男','    -  -  ','    -  -  ',1,'')");
    workspace.exec("insert into GZB (ny,ygh,xm,bmmc) values ('202611',1,'张三','财务科')");

    runModule<Tfrm_bmsz>([&](Tfrm_bmsz &window) {
        QVERIFY(waitUntilActive(window));
        click(window.SpeedButton5);
        window.e_mc->selectAll();
        type("财务部");
        pressEnter();
    });
    runModule<Tfrm_ygsz>([&](Tfrm_ygsz &window) {
        QVERIFY(waitUntilActive(window));
        QCOMPARE(window.RxDBGrid1->model()->index(0, 5).data().toString(),
                 QStringLiteral("财务部"));
    });
    QCOMPARE(fileRows("select bmmc from GZB"), QStringList{"财务科"});
}

QTEST_MAIN(BmszTest)
#include "test_bmsz.moc"
