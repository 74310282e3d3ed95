// The salary item window through its real widgets: adding within the limit of 20 per kind,
// modifying the item of the checked list, the grey rows of items not carried over, and the
// save that runs only when the operator leaves the name box inside the window.
#include "messages.h"
#include "modulerun.h"
#include "operator.h"
#include "panel.h"
#include "workspace.h"
#include "xmsz.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QRadioButton>

namespace {

const QString saved = QStringLiteral("保存成功，是否继续添加?");
const QString limit = QStringLiteral("各项目最大为 20 项！");

void addItems(const Workspace &workspace, const QString &kind, int count) {
    for (int i = 1; i <= count; ++i)
        workspace.exec(QStringLiteral("insert into GZXMZD (mc,S_JC,S_FK) values ('%1%2',1,'%1')")
                           .arg(kind)
                           .arg(i));
}

QStringList items() {
    return fileRows("select mc,S_JC,S_FK from GZXMZD order by bh");
}

} // namespace

class XmszTest : public QObject {
    Q_OBJECT
private slots:
    void addsAnItemOfTheCheckedKind_data();
    void addsAnItemOfTheCheckedKind();
    void refusesTheTwentyFirstOfAKind();
    void modifiesTheItemOfTheCheckedList();
    void modifyWithAnEmptyListDoesNothing();
    void emptyNameIsRefused();
    void onlyLeavingInsideTheWindowSaves();
};

void XmszTest::addsAnItemOfTheCheckedKind_data() {
    QTest::addColumn<bool>("deduction");
    QTest::addColumn<bool>("carried");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("leave");
    QTest::addColumn<QString>("stored");

    QTest::newRow("earning, left with Enter") << false << true << "岗位津贴"
                                              << "enter"
                                              << "岗位津贴|1|0";
    QTest::newRow("deduction, Enter goes on to its radio button") << true << true << "公积金"
                                                                  << "enter"
                                                                  << "公积金|1|1";
    QTest::newRow("deduction not carried, left by a click on a list") << true << false << "病假扣款"
                                                                      << "click"
                                                                      << "病假扣款|0|1";
    QTest::newRow("blanks and a quote stay as typed, left with Tab") << false << true << " O'Neil "
                                                                     << "tab"
                                                                     << " O'Neil |1|0";
}

void XmszTest::addsAnItemOfTheCheckedKind() {
    QFETCH(bool, deduction);
    QFETCH(bool, carried);
    QFETCH(QString, name);
    QFETCH(QString, leave);
    Workspace workspace;
    addItems(workspace, "0", 1);
    addItems(workspace, "1", 1);

    runModule<Tfrm_xmsz>([&](Tfrm_xmsz &window) {
        QVERIFY(waitUntilActive(window));
        QVERIFY(!window.Panel1->isEnabled());
        if (deduction)
            click(window.r_k);
        click(window.SpeedButton8);
        QVERIFY(window.c_S_JC->hasFocus());
        if (!carried)
            click(window.c_S_JC);
        pressEnter();
        QVERIFY(window.e_mc->hasFocus());
        type(name);
        QVERIFY(workspace.shownTexts().isEmpty());

        if (leave == "enter") {
            pressEnter();
            QVERIFY((deduction ? window.r_k : window.r_f)->hasFocus());
        } else if (leave == "tab")
            QTest::keyClick(window.e_mc, Qt::Key_Tab);
        else
            clickRow(window.RxDBGrid1, 0);

        QCOMPARE(workspace.shownTexts(), QStringList{saved});
        QVERIFY2(!window.Panel1->isEnabled(), "answered No: the window is idle");
        QVERIFY(window.e_mc->text().isEmpty());
        // The new item takes the next slot of its kind.
        DBGrid *list = deduction ? window.RxDBGrid2 : window.RxDBGrid1;
        QCOMPARE(list->model()->rowCount(), 2);
        QCOMPARE(list->model()->index(1, 0).data().toString(), name);
    });
    QFETCH(QString, stored);
    QCOMPARE(items().last(), stored);
    QCOMPARE(items().size(), 3);
}

// Saving the twentieth earning item and answering Yes meets the limit instead of a new entry;
// the deduction items, fewer than twenty, can still be added to.
void XmszTest::refusesTheTwentyFirstOfAKind() {
    Workspace workspace;
    addItems(workspace, "0", 19);
    addItems(workspace, "1", 1);
    workspace.answerConfirmations({true});

    runModule<Tfrm_xmsz>([&](Tfrm_xmsz &window) {
        QVERIFY(waitUntilActive(window));
        click(window.SpeedButton8);
        pressEnter();
        type("第二十项");
        pressEnter();
        QCOMPARE(workspace.shownTexts(), (QStringList{saved, limit}));
        QCOMPARE(workspace.shownMessages().last().kind, Messages::Kind::Information);
        QVERIFY(!window.Panel1->isEnabled());

        workspace.clearShownMessages();
        click(window.SpeedButton8);
        QCOMPARE(workspace.shownTexts(), QStringList{limit});
        QVERIFY(!window.Panel1->isEnabled());

        click(window.r_k);
        click(window.SpeedButton8);
        QVERIFY(window.Panel1->isEnabled());
        QVERIFY(window.c_S_JC->hasFocus());
    });
    QCOMPARE(fileRows("select count(*) from GZXMZD where S_FK='0'"), QStringList{"20"});
}

// The checked radio button decides, not the list clicked last; the item keeps its kind and
// slot, and the one not carried over is painted in the window's grey.
void XmszTest::modifiesTheItemOfTheCheckedList() {
    Workspace workspace;
    workspace.exec("insert into GZXMZD (bh,mc,S_JC,S_FK) values (1,'基本工资',1,'0'),"
                   "(2,'房租',1,'1'),(3,'奖金',1,'0')");

    runModule<Tfrm_xmsz>([&](Tfrm_xmsz &window) {
        QVERIFY(waitUntilActive(window));
        clickRow(window.RxDBGrid1, 1);
        clickRow(window.RxDBGrid2, 0);
        QVERIFY(window.r_f->isChecked());
        click(window.SpeedButton5);
        QVERIFY(window.c_S_JC->hasFocus());
        QCOMPARE(window.e_mc->text(), QStringLiteral("奖金"));
        QCOMPARE(window.e_bh->text(), QStringLiteral("3"));
        QVERIFY(window.c_S_JC->isChecked());

        click(window.c_S_JC);
        pressEnter();
        window.e_mc->selectAll();
        type("效益奖");
        clickRow(window.RxDBGrid2, 0);

        QVERIFY2(workspace.shownTexts().isEmpty(), "a modification asks nothing");
        QCOMPARE(window.RxDBGrid1->model()->index(1, 0).data().toString(),
                 QStringLiteral("效益奖"));
        const QColor grey = window.palette().color(QPalette::Window);
        QCOMPARE(rowColour(window.RxDBGrid1, 1), grey);
        QVERIFY(rowColour(window.RxDBGrid1, 0) != grey);
    });
    QCOMPARE(items(), (QStringList{"基本工资|1|0", "房租|1|1", "效益奖|0|0"}));
}

void XmszTest::modifyWithAnEmptyListDoesNothing() {
    Workspace workspace;
    addItems(workspace, "0", 1);
    runModule<Tfrm_xmsz>([&](Tfrm_xmsz &window) {
        QVERIFY(waitUntilActive(window));
        click(window.r_k);
        click(window.SpeedButton5);
        QVERIFY(!window.Panel1->isEnabled());
        QVERIFY(window.e_mc->text().isEmpty());
    });
}

void XmszTest::emptyNameIsRefused() {
    Workspace workspace;
    runModule<Tfrm_xmsz>([&](Tfrm_xmsz &window) {
        QVERIFY(waitUntilActive(window));
        click(window.SpeedButton8);
        pressEnter();
        type("   ");
        pressEnter();
        QCOMPARE(workspace.shownTexts(), QStringList{"项目名不能为空！"});
        QCOMPARE(workspace.shownMessages().first().kind, Messages::Kind::Plain);
        QVERIFY(window.e_mc->hasFocus());
        QVERIFY(window.Panel1->isEnabled());
    });
    QVERIFY(items().isEmpty());
}

// A box borrowing the focus, Add pressed again (which starts a new entry) and closing the
// window are no leave: nothing is saved, and nothing twice.
void XmszTest::onlyLeavingInsideTheWindowSaves() {
    Workspace workspace;
    runModule<Tfrm_xmsz>([&](Tfrm_xmsz &window) {
        QVERIFY(waitUntilActive(window));
        click(window.SpeedButton8);
        pressEnter();
        type("加班费");

        QDialog box(&window);
        box.show();
        QVERIFY(waitUntilActive(box));
        box.close();
        QVERIFY(waitUntilActive(window));
        QVERIFY(window.e_mc->hasFocus());

        click(window.SpeedButton8);
        QVERIFY(window.c_S_JC->hasFocus());
        QVERIFY(workspace.shownTexts().isEmpty());
        QVERIFY(items().isEmpty());

        pressEnter();
        pressEnter();
        QCOMPARE(workspace.shownTexts(), QStringList{saved});
        window.e_mc->setFocus();
        type("夜班费");
    });
    QCOMPARE(items(), QStringList{"加班费|1|0"});
}

QTEST_MAIN(XmszTest)
#include "test_xmsz.moc"
