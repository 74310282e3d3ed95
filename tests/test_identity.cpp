// An employee's identity document, bank account and mobile number: the checks the tax client
// and the bank would otherwise fail a whole file on, and the dialog that stores them.
#include "identitydialog.h"
#include "identitydocument.h"
#include "modulerun.h"
#include "operator.h"
#include "workspace.h"
#include "ygsz.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QSet>
#include <QTest>
#include <QTimer>

namespace {

const QString female1982 = "440300198205205128"; // born 1982-05-20, female

// Runs `fill` on the identity dialog of the list's current employee, once it is shown.
void onIdentityDialog(Tfrm_ygsz &window,
                      const std::function<void(EmployeeIdentityDialog &)> &fill) {
    QTimer::singleShot(0, &window, [fill] {
        auto *dialog = dynamic_cast<EmployeeIdentityDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        fill(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    for (QAction *action : window.RxDBGrid1->actions())
        if (action->text() == "证件与银行…")
            action->trigger();
}

void runEmployees(const std::function<void(Tfrm_ygsz &)> &drive) {
    runModule<Tfrm_ygsz>(drive);
}

void addEmployees(const Workspace &workspace) {
    workspace.exec("insert into BMZD (mc) values ('财务科')");
    workspace.exec("insert into YGZD (xm,xb,csrq,gzrq,bmh,zw,zt) values "
                   "('林晓梅','女','1982- 5-20','2004- 8- 2',1,'财务总监','1')");
    workspace.exec("insert into YGZD (xm,xb,csrq,gzrq,bmh,zw,zt) values "
                   "('张建国','男','1968- 4-12','1990- 7- 1',1,'主任','1')");
}

const QString stored = "select ygh,zjlx,zjhm,gj,khyh,yhzh,sjhm from YGZJ order by ygh";

} // namespace

class IdentityTest : public QObject {
    Q_OBJECT
private slots:
    void documentNumber_data();
    void documentNumber();
    void accountAndMobile_data();
    void accountAndMobile();
    void dialogStoresNormalForms();
    void dialogRefusesBadValues_data();
    void dialogRefusesBadValues();
    void numberOfAnotherEmployeeIsRefused();
    void changeMadeMeanwhileIsNotOverwritten();
    void demoEmployeesHaveValidIdentities();
};

void IdentityTest::documentNumber_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("born");
    QTest::addColumn<QString>("sex");
    QTest::addColumn<QString>("problem"); // its start; empty: valid
    const QString card = residentIdentityCard();
    const QString length = "居民身份证号码应为18位";
    QTest::newRow("valid") << card << female1982 << "1982- 5-20"
                           << "女"
                           << "";
    QTest::newRow("blanks around") << card << " " + female1982 + " "
                                   << "1982-05-20"
                                   << "女"
                                   << "";
    QTest::newRow("check character X") << card << "11010519491231002X"
                                       << "1949-12-31"
                                       << "女"
                                       << "";
    QTest::newRow("lower-case x") << card << "11010519491231002x"
                                  << "1949-12-31"
                                  << "女"
                                  << "";
    QTest::newRow("male, odd 17th digit") << card << "320102199001010010"
                                          << "1990- 1- 1"
                                          << "男"
                                          << "";
    QTest::newRow("birth date and sex not known") << card << female1982 << ""
                                                  << ""
                                                  << "";
    QTest::newRow("wrong check digit") << card << "440300198205205127"
                                       << "1982- 5-20"
                                       << "女"
                                       << "居民身份证号码的校验位不对";
    QTest::newRow("X where a digit is due") << card << "44030019820520512X"
                                            << "1982- 5-20"
                                            << "女"
                                            << "居民身份证号码的校验位不对";
    QTest::newRow("digits swapped") << card << "440300198205201528"
                                    << "1982- 5-20"
                                    << "女"
                                    << "居民身份证号码的校验位不对";
    QTest::newRow("birth date mismatch") << card << female1982 << "1982- 5-21"
                                         << "女"
                                         << "居民身份证号码中的出生日期（1982-05-20）";
    QTest::newRow("sex mismatch") << card << female1982 << "1982- 5-20"
                                  << "男"
                                  << "居民身份证号码表明性别为女";
    QTest::newRow("no such date") << card << "440300198213205128"
                                  << ""
                                  << ""
                                  << "居民身份证号码中的出生日期不是有效日期";
    QTest::newRow("15 digits") << card << "440300820520512"
                               << ""
                               << "" << length;
    QTest::newRow("19 characters") << card << female1982 + "0"
                                   << ""
                                   << "" << length;
    QTest::newRow("letter inside") << card << "4403001982052051A8"
                                   << ""
                                   << "" << length;
    QTest::newRow("passport") << "外国护照"
                              << "E12345678"
                              << "1982- 5-20"
                              << "女"
                              << "";
    QTest::newRow("passport with a blank") << "中国护照"
                                           << "E1234 5678"
                                           << ""
                                           << ""
                                           << "证件号码中不能有空格";
    QTest::newRow("kind the client does not know") << "驾驶证" << female1982 << ""
                                                   << ""
                                                   << "证件类型“驾驶证”";
}

void IdentityTest::documentNumber() {
    QFETCH(QString, kind);
    QFETCH(QString, typed);
    QFETCH(QString, born);
    QFETCH(QString, sex);
    QFETCH(QString, problem);
    const std::optional<QString> found =
        documentNumberProblem(kind, normalDocumentNumber(typed), born, sex);
    if (problem.isEmpty())
        QVERIFY2(!found, qPrintable(found.value_or(QString())));
    else
        QVERIFY2(found && found->startsWith(problem), qPrintable(found.value_or("valid")));
}

void IdentityTest::accountAndMobile_data() {
    QTest::addColumn<QString>("what"); // account or mobile
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("normal");
    QTest::addColumn<bool>("valid");
    QTest::newRow("account") << "account"
                             << "6222021234567890"
                             << "6222021234567890" << true;
    QTest::newRow("account in groups") << "account"
                                       << " 6222 0212 3456 7890 "
                                       << "6222021234567890" << true;
    QTest::newRow("account, full-width blank") << "account"
                                               << "6222　0212"
                                               << "62220212" << true;
    QTest::newRow("account with letters") << "account"
                                          << "6222O21234"
                                          << "6222O21234" << false;
    QTest::newRow("account with dashes") << "account"
                                         << "6222-0212"
                                         << "6222-0212" << false;
    QTest::newRow("account with full-width digits") << "account"
                                                    << "６２２２"
                                                    << "６２２２" << false;
    QTest::newRow("mobile") << "mobile"
                            << "13812345678"
                            << "13812345678" << true;
    QTest::newRow("mobile, 10 digits") << "mobile"
                                       << "1381234567"
                                       << "1381234567" << false;
    QTest::newRow("mobile, 12 digits") << "mobile"
                                       << "138123456789"
                                       << "138123456789" << false;
    QTest::newRow("mobile not starting with 1") << "mobile"
                                                << "23812345678"
                                                << "23812345678" << false;
    QTest::newRow("landline with area code") << "mobile"
                                             << "075512345678"
                                             << "075512345678" << false;
}

void IdentityTest::accountAndMobile() {
    QFETCH(QString, what);
    QFETCH(QString, typed);
    QFETCH(QString, normal);
    QFETCH(bool, valid);
    if (what == "account") {
        QCOMPARE(normalAccountNumber(typed), normal);
        QCOMPARE(!accountNumberProblem(normal), valid);
    } else {
        QCOMPARE(normalMobileNumber(typed), normal);
        QCOMPARE(!mobileNumberProblem(normal), valid);
    }
}

void IdentityTest::dialogStoresNormalForms() {
    Workspace workspace;
    addEmployees(workspace);
    workspace.exec("update YGZD set csrq='1949-12-31' where bh=1");
    runEmployees([&](Tfrm_ygsz &window) {
        onIdentityDialog(window, [&](EmployeeIdentityDialog &dialog) {
            QCOMPARE(dialog.c_zjlx->currentText(), "居民身份证");
            QCOMPARE(dialog.e_gj->text(), "中国");
            QCOMPARE(dialog.c_zjlx->count(), identityDocumentKinds().size());
            dialog.e_zjhm->setText(" 11010519491231002x");
            dialog.e_khyh->setText("中国工商银行深圳分行");
            dialog.e_yhzh->setText("6222 0212 3456 7890");
            dialog.e_sjhm->setText("13812345678");
            dialog.b_ok->click();
            QVERIFY(!dialog.isVisible());
        });
        // Opened again: what was stored, stored over as it is; a number may be taken away.
        onIdentityDialog(window, [&](EmployeeIdentityDialog &dialog) {
            QCOMPARE(dialog.e_zjhm->text(), "11010519491231002X");
            QCOMPARE(dialog.e_yhzh->text(), "6222021234567890");
            dialog.b_ok->click();
            QVERIFY(!dialog.isVisible());
        });
    });
    QCOMPARE(workspace.shownTexts(), QStringList());
    QCOMPARE(fileRows(stored),
             QStringList{"1|居民身份证|11010519491231002X|中国|中国工商银行深圳分行|"
                         "6222021234567890|13812345678"});
    runEmployees([&](Tfrm_ygsz &window) {
        onIdentityDialog(window, [&](EmployeeIdentityDialog &dialog) {
            dialog.e_zjhm->clear();
            dialog.e_sjhm->clear();
            dialog.b_ok->click();
        });
    });
    QCOMPARE(fileRows("select count(*) from YGZJ where zjhm is null and sjhm is null"),
             QStringList{"1"});
}

void IdentityTest::dialogRefusesBadValues_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message"); // its start
    QTest::newRow("wrong check digit") << "e_zjhm"
                                       << "440300198205205127"
                                       << "居民身份证号码的校验位不对";
    QTest::newRow("another's birth date") << "e_zjhm"
                                          << "320102199001010029"
                                          << "居民身份证号码中的出生日期";
    QTest::newRow("a man's number") << "e_zjhm"
                                    << "440300198205205136"
                                    << "居民身份证号码表明性别为男";
    QTest::newRow("no nationality") << "e_gj"
                                    << " "
                                    << "请输入国籍";
    QTest::newRow("letters in account") << "e_yhzh"
                                        << "6222 0212 ABCD"
                                        << "银行账号只能由数字组成";
    QTest::newRow("short mobile") << "e_sjhm"
                                  << "1381234567"
                                  << "手机号码应为以1开头的11位数字";
}

void IdentityTest::dialogRefusesBadValues() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    Workspace workspace;
    addEmployees(workspace);
    runEmployees([&](Tfrm_ygsz &window) {
        onIdentityDialog(window, [&](EmployeeIdentityDialog &dialog) {
            dialog.e_zjhm->setText(female1982);
            dialog.findChild<QLineEdit *>(box)->setText(typed);
            dialog.b_ok->click();
            QVERIFY(dialog.isVisible());
        });
    });
    QCOMPARE(workspace.shownTexts().size(), 1);
    QVERIFY2(workspace.shownTexts().first().startsWith(message),
             qPrintable(workspace.shownTexts().first()));
    QCOMPARE(fileRows("select count(*) from YGZJ"), QStringList{"0"});
}

void IdentityTest::numberOfAnotherEmployeeIsRefused() {
    Workspace workspace;
    addEmployees(workspace);
    workspace.exec("insert into YGZJ (ygh,zjhm) values (2,'" + female1982 + "')");
    runEmployees([&](Tfrm_ygsz &window) {
        onIdentityDialog(window, [&](EmployeeIdentityDialog &dialog) {
            dialog.e_zjhm->setText(female1982);
            dialog.b_ok->click();
            QVERIFY(dialog.isVisible());
        });
    });
    QCOMPARE(workspace.shownTexts(),
             QStringList{"证件号码" + female1982 +
                         "已是张建国的证件号码，同一证件号码不能用于两名员工！"});
    QCOMPARE(fileRows("select ygh from YGZJ"), QStringList{"2"});
}

// Another clerk (a connection of the test's own) stores while the dialog is open: pressing 确定
// stores nothing and shows what is stored now.
void IdentityTest::changeMadeMeanwhileIsNotOverwritten() {
    Workspace workspace;
    addEmployees(workspace);
    runEmployees([&](Tfrm_ygsz &window) {
        onIdentityDialog(window, [&](EmployeeIdentityDialog &dialog) {
            workspace.exec("insert into YGZJ (ygh,khyh) values (1,'招商银行')");
            dialog.e_khyh->setText("中国银行");
            dialog.b_ok->click();
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.e_khyh->text(), "招商银行");
        });
    });
    QCOMPARE(workspace.shownTexts(),
             QStringList{"这条记录已被其他操作员修改，本次修改未保存！请查看刷新后的内容。"});
    QCOMPARE(fileRows("select khyh from YGZJ"), QStringList{"招商银行"});
}

void IdentityTest::demoEmployeesHaveValidIdentities() {
    Workspace workspace(Workspace::Database::Demo);
    const QStringList rows = fileRows("select a.xb,a.csrq,b.zjlx,b.zjhm,b.khyh,b.yhzh,b.sjhm "
                                      "from YGZD as a left join YGZJ as b on b.ygh=a.bh "
                                      "order by a.bh");
    QVERIFY(!rows.isEmpty());
    QSet<QString> numbers;
    for (const QString &row : rows) {
        const QStringList v = row.split('|');
        QVERIFY2(!documentNumberProblem(v[2], v[3], v[1], v[0]), qPrintable(row));
        QVERIFY2(!v[4].isEmpty() && !accountNumberProblem(v[5]) && !mobileNumberProblem(v[6]),
                 qPrintable(row));
        numbers << v[3];
    }
    QCOMPARE(numbers.size(), rows.size());
}

QTEST_MAIN(IdentityTest)
#include "test_identity.moc"
