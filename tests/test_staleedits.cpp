// Two clerks change the same department, employee or salary item: the one who saves a row
// that the other changed after it was read is told so, sees the list as it now is, and
// stores nothing. The other clerk is a connection of the test's own on the same file.
#include "bmsz.h"
#include "messages.h"
#include "modulerun.h"
#include "operator.h"
#include "workspace.h"
#include "xmsz.h"
#include "ygsz.h"

#include <QLineEdit>

namespace {

const QString changedElsewhere =
    QStringLiteral("这条记录已被其他操作员修改，本次修改未保存！请查看刷新后的内容。");

// What the first row of a grid shows in `column`, or nothing when the list is empty.
QString firstListed(DBGrid *grid, int column) {
    return grid->model()->rowCount() > 0 ? grid->model()->index(0, column).data().toString()
                                         : QString();
}

} // namespace

class StaleEditTest : public QObject {
    Q_OBJECT
private slots:
    void changedRowIsNotOverwritten_data();
    void changedRowIsNotOverwritten();
};

void StaleEditTest::changedRowIsNotOverwritten_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("change"); // made by the other clerk after the row was read
    QTest::addColumn<QString>("row");    // the row in the file afterwards
    QTest::addColumn<QString>("listed"); // the list's first row afterwards

    QTest::newRow("department renamed") << "bmsz"
                                        << "update BMZD set mc='综合办' where bh=1"
                                        << "1|综合办"
                                        << "综合办";
    QTest::newRow("department name's case changed") << "bmsz"
                                                    << "update BMZD set mc='IT部' where bh=1"
                                                    << "1|IT部"
                                                    << "IT部";
    QTest::newRow("employee moved") << "ygsz"
                                    << "update YGZD set bmh=2 where bh=1"
                                    << "1|张三|2|1"
                                    << "张三";
    QTest::newRow("employee deactivated") << "ygsz"
                                          << "update YGZD set zt='2' where bh=1"
                                          << "1|张三|1|2"
                                          << "";
    QTest::newRow("employee deactivated before the toggle")
        << "toggle"
        << "update YGZD set zt='2',xm='张叁' where bh=1"
        << "1|张叁|1|2"
        << "";
    QTest::newRow("item renamed") << "xmsz"
                                  << "update GZXMZD set mc='岗位工资' where bh=1"
                                  << "1|岗位工资|1"
                                  << "岗位工资";
    QTest::newRow("item no longer carried") << "xmsz"
                                            << "update GZXMZD set S_JC=0 where bh=1"
                                            << "1|基本工资|0"
                                            << "基本工资";
}

void StaleEditTest::changedRowIsNotOverwritten() {
    QFETCH(QString, window);
    QFETCH(QString, change);
    QFETCH(QString, listed);

    Workspace workspace;
    workspace.exec("insert into BMZD (mc) values ('it部'),('财务科')");
    workspace.exec("insert into YGZD (xm,xb,csrq,gzrq,bmh,zw) values ('张三','男','','',1,'')");
    workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values ('基本工资',1,'0')");
    if (window != "bmsz")
        workspace.exec("update BMZD set mc='办公室' where bh=1");
    const auto refused = [&] {
        QCOMPARE(workspace.shownTexts(), QStringList{changedElsewhere});
        QCOMPARE(workspace.shownMessages().first().kind, Messages::Kind::Information);
    };

    QString file;
    if (window == "bmsz") {
        runModule<Tfrm_bmsz>([&](Tfrm_bmsz &form) {
            QVERIFY(waitUntilActive(form));
            clickRow(form.DBGrid1, 0);
            click(form.SpeedButton5);
            workspace.exec(change);
            form.e_mc->selectAll();
            type("行政部");
            pressEnter();
            refused();
            QVERIFY(!form.e_mc->isEnabled());
            QCOMPARE(firstListed(form.DBGrid1, 0), listed);
        });
        file = "select bh,mc from BMZD where bh=1";
    } else if (window == "ygsz" || window == "toggle") {
        runModule<Tfrm_ygsz>([&](Tfrm_ygsz &form) {
            QVERIFY(waitUntilActive(form));
            clickRow(form.RxDBGrid1, 0);
            if (window == "toggle") {
                workspace.exec(change);
                click(form.SpeedButton1);
            } else {
                click(form.SpeedButton5);
                workspace.exec(change);
                form.e_xm->selectAll();
                type("张三丰");
                while (!form.e_zw->hasFocus())
                    pressEnter();
                pressEnter();
            }
            refused();
            QCOMPARE(firstListed(form.RxDBGrid1, 1), listed);
        });
        file = "select bh,xm,bmh,zt from YGZD where bh=1";
    } else {
        runModule<Tfrm_xmsz>([&](Tfrm_xmsz &form) {
            QVERIFY(waitUntilActive(form));
            clickRow(form.RxDBGrid1, 0);
            click(form.SpeedButton5);
            workspace.exec(change);
            form.e_mc->setFocus();
            form.e_mc->selectAll();
            type("工资");
            clickRow(form.RxDBGrid2, 0);
            refused();
            QCOMPARE(firstListed(form.RxDBGrid1, 0), listed);
        });
        file = "select bh,mc,S_JC from GZXMZD where bh=1";
    }
    QFETCH(QString, row);
    QCOMPARE(fileRows(file), QStringList{row});
}

QTEST_MAIN(StaleEditTest)
#include "test_staleedits.moc"
