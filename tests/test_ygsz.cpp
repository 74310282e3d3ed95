// The employee window through its real widgets: an entry made with the keyboard from name to
// position, the department box on a file whose department numbers have a gap, the checks of
// name and dates, deactivating and reactivating, and sorting by a column title.
#include "dateedit.h"
#include "messages.h"
#include "modulerun.h"
#include "operator.h"
#include "panel.h"
#include "workspace.h"
#include "ygsz.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>

namespace {

const QString emptyDate = QStringLiteral("    -  -  ");

QStringList employees() {
    return fileRows("select xm,xb,csrq,gzrq,bmh,zw,zt from YGZD order by bh");
}

QStringList listedNumbers(DBGrid *grid) {
    QStringList numbers;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        numbers << grid->model()->index(row, 0).data().toString();
    return numbers;
}

void clickTitle(DBGrid *grid, int column) {
    QHeaderView *titles = grid->horizontalHeader();
    const QPoint at(titles->sectionViewportPosition(column) + 5, titles->height() / 2);
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, at);
}

// Department numbers 1 and 5: the second department is not the fifth of the list.
void departmentsWithAGap(const Workspace &workspace) {
    workspace.exec("insert into BMZD (bh,mc) values (1,'办公室'),(5,'财务科')");
}

} // namespace

class YgszTest : public QObject {
    Q_OBJECT
private slots:
    void addsAnEmployeeFromTheKeyboard_data();
    void addsAnEmployeeFromTheKeyboard();
    void refusesWrongEntries_data();
    void refusesWrongEntries();
    void deactivatesAndReactivates();
    void sortsByTheClickedTitle();
};

void YgszTest::addsAnEmployeeFromTheKeyboard_data() {
    QTest::addColumn<QString>("typedBirth");
    QTest::addColumn<QString>("typedStart");
    QTest::addColumn<QString>("birth");
    QTest::addColumn<QString>("start");
    QTest::newRow("both dates empty") << ""
                                      << "" << emptyDate << emptyDate;
    QTest::newRow("one-digit month and day behind a blank") << "1980-3-→5"
                                                            << "20000101"
                                                            << "1980- 3- 5"
                                                            << "2000-01-01";
    QTest::newRow("one-digit month and day ended by hyphen and leaving, or typed as blanks")
        << "2000-5-1"
        << "1990 5 1"
        << "2000- 5- 1"
        << "1990- 5- 1";
    QTest::newRow("leap day") << "20000229"
                              << "2020-12-31"
                              << "2000-02-29"
                              << "2020-12-31";
}

// Sex and department are chosen with the arrow keys; Enter in the position box saves. The
// choices stay for the next entry, and Modify shows the stored employee again as entered.
void YgszTest::addsAnEmployeeFromTheKeyboard() {
    QFETCH(QString, typedBirth);
    QFETCH(QString, typedStart);
    QFETCH(QString, birth);
    QFETCH(QString, start);
    Workspace workspace;
    departmentsWithAGap(workspace);

    runModule<Tfrm_ygsz>([&](Tfrm_ygsz &window) {
        QVERIFY(waitUntilActive(window));
        QCOMPARE(window.c_bm->currentText(), QStringLiteral("办公室"));
        click(window.SpeedButton8);
        QVERIFY(window.e_xm->hasFocus());
        type("李四");
        pressEnter();
        QTest::keyClick(window.c_xb, Qt::Key_Down);
        pressEnter();
        type(typedBirth);
        pressEnter();
        type(typedStart);
        pressEnter();
        QTest::keyClick(window.c_bm, Qt::Key_Down);
        pressEnter();
        QVERIFY(window.e_zw->hasFocus());
        type("会计");
        pressEnter();

        QCOMPARE(workspace.shownTexts(), QStringList{"保存成功，是否继续添加?"});
        QVERIFY(!window.Panel1->isEnabled());
        QCOMPARE(window.c_xb->currentText(), QStringLiteral("女"));
        QCOMPARE(window.c_bm->currentText(), QStringLiteral("财务科"));

        window.c_bm->setCurrentIndex(0);
        clickRow(window.RxDBGrid1, 0);
        click(window.SpeedButton5);
        QCOMPARE(window.e_xm->text(), QStringLiteral("李四"));
        QCOMPARE(window.e_csrq->dateText(), birth);
        QCOMPARE(window.e_gzrq->dateText(), start);
        QCOMPARE(window.c_bm->currentText(), QStringLiteral("财务科"));
        QCOMPARE(window.RxDBGrid1->model()->index(0, 5).data().toString(),
                 QStringLiteral("财务科"));
    });
    QCOMPARE(employees(), QStringList{"李四|女|" + birth + "|" + start + "|5|会计|1"});
}

void YgszTest::refusesWrongEntries_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("birth");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focused");
    QTest::newRow("blank name") << "  "
                                << ""
                                << ""
                                << "姓名不能为空！"
                                << "c_zt";
    QTest::newRow("no 30 February in the birth date") << "王五"
                                                      << "20050230"
                                                      << ""
                                                      << "出身日期输入错误！"
                                                      << "e_csrq";
    QTest::newRow("no 30 February in the work date") << "王五"
                                                     << "19800101"
                                                     << "20050230"
                                                     << "工作日期输入错误！"
                                                     << "e_gzrq";
    QTest::newRow("no month 13") << "王五"
                                 << "19801301"
                                 << ""
                                 << "出身日期输入错误！"
                                 << "e_csrq";
}

// A failed check writes nothing and keeps what was typed.
void YgszTest::refusesWrongEntries() {
    QFETCH(QString, name);
    QFETCH(QString, birth);
    QFETCH(QString, start);
    Workspace workspace;
    departmentsWithAGap(workspace);
    runModule<Tfrm_ygsz>([&](Tfrm_ygsz &window) {
        QVERIFY(waitUntilActive(window));
        click(window.SpeedButton8);
        // Field by field with Enter: name, sex, the two dates, department, position.
        for (const QString &typed : {name, QString(), birth, start, QString(), QString()}) {
            type(typed);
            pressEnter();
        }

        QFETCH(QString, message);
        QCOMPARE(workspace.shownTexts(), QStringList{message});
        QCOMPARE(workspace.shownMessages().first().kind, Messages::Kind::Plain);
        QFETCH(QString, focused);
        QCOMPARE(QApplication::focusWidget()->objectName(), focused);
        QVERIFY(window.Panel1->isEnabled());
        QCOMPARE(window.e_xm->text(), name);
    });
    QVERIFY(employees().isEmpty());
}

void YgszTest::deactivatesAndReactivates() {
    Workspace workspace;
    departmentsWithAGap(workspace);
    workspace.exec("insert into YGZD (xm,xb,csrq,gzrq,bmh,zw) values "
                   "('张三','男','','',1,''),('李四','女','','',5,'')");
    const QColor green(162, 255, 185);
    runModule<Tfrm_ygsz>([&](Tfrm_ygsz &window) {
        QVERIFY(waitUntilActive(window));
        click(window.SpeedButton1);
        QCOMPARE(listedNumbers(window.RxDBGrid1), QStringList{"2"});
        QVERIFY(rowColour(window.RxDBGrid1, 0) != green);

        click(window.c_zt);
        QCOMPARE(listedNumbers(window.RxDBGrid1), (QStringList{"1", "2"}));
        QCOMPARE(rowColour(window.RxDBGrid1, 0), green);
        QVERIFY(rowColour(window.RxDBGrid1, 1) != green);

        click(window.SpeedButton1);
        QVERIFY(rowColour(window.RxDBGrid1, 0) != green);
        QVERIFY(workspace.shownTexts().isEmpty());
    });
    QCOMPARE(fileRows("select zt from YGZD order by bh"), (QStringList{"1", "1"}));
}

// The department column sorts by department number, not by name; a refresh brings back the
// number order.
void YgszTest::sortsByTheClickedTitle() {
    Workspace workspace;
    workspace.exec("insert into BMZD (mc) values ('Sales'),('Accounts'),('Works')");
    workspace.exec("insert into YGZD (xm,xb,csrq,gzrq,bmh,zw) values "
                   "('Cole','男','','',2,''),('Abel','男','','',3,''),('Bird','女','','',1,'')");
    runModule<Tfrm_ygsz>([&](Tfrm_ygsz &window) {
        QVERIFY(waitUntilActive(window));
        clickTitle(window.RxDBGrid1, 5);
        QCOMPARE(listedNumbers(window.RxDBGrid1), (QStringList{"3", "1", "2"}));
        clickTitle(window.RxDBGrid1, 1);
        QCOMPARE(listedNumbers(window.RxDBGrid1), (QStringList{"2", "3", "1"}));
        click(window.c_zt);
        QCOMPARE(listedNumbers(window.RxDBGrid1), (QStringList{"1", "2", "3"}));
    });
}

QTEST_MAIN(YgszTest)
#include "test_ygsz.moc"
