// Computed items in the salary entry window, worked through its own controls: the published
// withholding example over a year of preparations, F1 computing from what is typed, a hire in
// July, a new year, saving a month whose later months are entered, and items kept by hand.
#include "currencyedit.h"
#include "currencyprint.h"
#include "flatbutton.h"
#include "gzlr.h"
#include "modulerun.h"
#include "operator.h"
#include "othercopy.h"
#include "progresscancel.h"
#include "spinedit.h"
#include "workspace.h"

#include <QTest>

namespace {

// Items by slot: f1 基本工资; k1 养老保险 8 %, k2 医疗保险 2 %, k3 失业保险 0.5 % (social
// insurance base), k4 住房公积金 12 % (housing fund base), all pre-tax and capped at 20,000;
// k5 个人所得税. Employee 1 林晓梅 has bases of 30,000 and 2,000 of special deductions a month.
void addComputedPayroll(const Workspace &workspace) {
    for (const char *sql : {
             "insert into BMZD (mc) values ('财务科')",
             "insert into GZXMZD (mc,S_JC,S_FK) values ('基本工资',1,'0')",
             "insert into GZXMZD (mc,S_JC,S_FK) values ('养老保险',1,'1')",
             "insert into GZXMZD (mc,S_JC,S_FK) values ('医疗保险',1,'1')",
             "insert into GZXMZD (mc,S_JC,S_FK) values ('失业保险',1,'1')",
             "insert into GZXMZD (mc,S_JC,S_FK) values ('住房公积金',1,'1')",
             "insert into GZXMZD (mc,S_JC,S_FK) values ('个人所得税',0,'1')",
             "insert into GZXMJS (xmbh,jsfs,bl,jsjs,sx,sqkc) values "
             "(2,'1',80000,'1',200000000,1),(3,'1',20000,'1',200000000,1),"
             "(4,'1',5000,'1',200000000,1),(5,'1',120000,'2',200000000,1),(6,'2',0,'1',null,0)",
             "insert into YGZD (xm,xb,csrq,gzrq,bmh,zw,zt) values "
             "('林晓梅','女','1982- 5-20','2004- 8- 2',1,'财务总监','1')",
             "insert into YGJS (ygh,sbjs,gjjjs) values (1,300000000,300000000)",
             "insert into YGZXKC (ygh,lb,je,qsny) values (1,'子女教育',20000000,'202601')",
         })
        workspace.exec(QString::fromUtf8(sql));
}

void type(CurrencyEdit *editor, const char *amount) {
    editor->setFocus();
    editor->selectAll();
    QTest::keyClicks(editor, QLatin1String(amount));
}

void pressF1(Tfrm_gzlr &window) {
    QWidget *focused = QApplication::focusWidget();
    QTest::keyClick(focused ? focused : &window, Qt::Key_F1);
}

void prepare(Tfrm_gzlr &window, int year, int month) {
    window.e_n->setValue(year);
    window.e_y->setValue(month);
    window.b_o->click();
}

// "k1 k2 k3 k4 k5" of an employee's stored month.
QString stored(const QString &month, int employee = 1) {
    Query &row = DM->AQUP;
    openLines(
        row,
        {QStringLiteral("select * from GZB where ny='%1' and ygh=%2").arg(month).arg(employee)});
    QStringList amounts;
    for (const char *column : {"k1", "k2", "k3", "k4", "k5"})
        amounts << row.field(QLatin1String(column)).asCurrency().toFixed2();
    return amounts.join(' ');
}

// Saves the months of 2026 from January through `last`: the first employee's salary typed in
// January, every later month carried.
void saveMonthsThrough(Tfrm_gzlr &window, int last) {
    prepare(window, 2026, 1);
    type(window.itemEditors.at(0), "30000");
    pressF1(window);
    window.b_s->click();
    for (int month = 2; month <= last; ++month) {
        prepare(window, 2026, month);
        window.b_s->click();
    }
}

QString taxEditor(const Tfrm_gzlr &window) {
    return window.itemEditors.at(5)->value().toFixed2();
}

const QStringList publishedTax = {"555.00",  "625.00",  "1850.00", "1850.00", "1850.00", "1850.00",
                                  "1850.00", "2250.00", "3700.00", "3700.00", "3700.00", "3700.00"};

using Drive = std::function<void(Tfrm_gzlr &)>;

} // namespace

class EntryTaxTest : public QObject {
    Q_OBJECT
private slots:
    void publishedYearThroughPreparationAndF1();
    void hireInJulyAndANewYear();
    void savingAMonthOffersItsLaterMonths_data();
    void savingAMonthOffersItsLaterMonths();
    void laterMonthHeldByAnotherCopyIsLeftToIt();
    void adjustingOneEmployeeLeavesTheOthersAsWithheld_data();
    void adjustingOneEmployeeLeavesTheOthersAsWithheld();
    void storedAgainWithTheSettingsInForceInItsMonth_data();
    void storedAgainWithTheSettingsInForceInItsMonth();
    void openingMonthsTakeTheirOwnDeduction_data();
    void openingMonthsTakeTheirOwnDeduction();
    void byHandWithoutRules();
    void yearEndBonusTaxedApart_data();
    void yearEndBonusTaxedApart();
    void computedItemsLookComputed();
    void basicDeductionByTheYearsChoice_data();
    void basicDeductionByTheYearsChoice();
};

// January is typed and stored with F1; every later month is prepared from the month before,
// its contributions and tax computed by the preparation.
void EntryTaxTest::publishedYearThroughPreparationAndF1() {
    Workspace workspace;
    addComputedPayroll(workspace);
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        for (int i = 1; i <= 5; ++i)
            QVERIFY2(window.itemEditors.at(i)->isReadOnly(), "computed items are shown only");
        QVERIFY(!window.itemEditors.at(0)->isReadOnly());
        prepare(window, 2026, 1);
        type(window.itemEditors.at(0), "30000");
        QCOMPARE(taxEditor(window), "555.00"); // seen while typing
        QCOMPARE(window.e_kh->value().toFixed2(), "5055.00");
        pressF1(window);
        window.b_s->click();
        QCOMPARE(stored("202601"), "1600.00 400.00 100.00 2400.00 555.00");
        for (int month = 2; month <= 12; ++month) {
            prepare(window, 2026, month);
            QCOMPARE(taxEditor(window), publishedTax.at(month - 1));
            window.b_s->click();
        }
    }));
    Query &year = DM->AQUP;
    openLines(year, {"select sum(k5) as k5 from GZB where ygh=1"});
    QCOMPARE(year.field("k5").asCurrency().toFixed2(), "27480.00");
    for (int month = 1; month <= 12; ++month)
        QCOMPARE(stored(QStringLiteral("2026%1").arg(month, 2, 10, QChar('0'))).section(' ', 4),
                 publishedTax.at(month - 1));
}

// The year counts from the first month with pay: hired in July, her July is a January.
// January of the next year starts from nothing.
void EntryTaxTest::hireInJulyAndANewYear() {
    Workspace workspace;
    addComputedPayroll(workspace);
    workspace.exec("insert into YGZD (xm,xb,csrq,gzrq,bmh,zw,zt) values "
                   "('周敏','女','1990- 1- 1','2026- 7- 1',1,'会计','2')");
    workspace.exec("insert into YGJS (ygh,sbjs,gjjjs) values (2,300000000,300000000)");
    workspace.exec("insert into YGZXKC (ygh,lb,je,qsny) values (2,'住房租金',20000000,'202607')");
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        saveMonthsThrough(window, 6);
        workspace.exec("update YGZD set zt='1' where bh=2");
        prepare(window, 2026, 7);
        DM->AQ2.next(); // 周敏, added with nothing typed yet
        QCOMPARE(taxEditor(window), "0.00");
        type(window.itemEditors.at(0), "30000");
        pressF1(window);
        window.b_s->click();
        for (int month = 8; month <= 12; ++month) {
            prepare(window, 2026, month);
            window.b_s->click();
        }
        prepare(window, 2027, 1);
        QCOMPARE(taxEditor(window), "555.00");
        window.b_s->click();
    }));
    for (int month = 7; month <= 12; ++month)
        QCOMPARE(stored(QStringLiteral("2026%1").arg(month, 2, 10, QChar('0')), 2).section(' ', 4),
                 publishedTax.at(month - 7));
    QCOMPARE(stored("202612").section(' ', 4), "3700.00");
    QCOMPARE(stored("202701").section(' ', 4), "555.00");
    QCOMPARE(stored("202701", 2).section(' ', 4), "555.00");
}

// March's pay is taken back to nothing after the half year was entered: its cumulative tax
// falls below what was withheld, and April's tax would fall with it. The later months are
// named and changed only on Yes, all together; the recomputation counts them, and cancelled
// it changes none of them.
void EntryTaxTest::savingAMonthOffersItsLaterMonths_data() {
    QTest::addColumn<bool>("recompute");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("april");
    QTest::newRow("recomputed") << true << false << "700.00"; // 44000 × 10 % − 2520 − 1180
    QTest::newRow("left") << false << false << "1850.00";
    QTest::newRow("recomputation cancelled") << true << true << "1850.00";
}

void EntryTaxTest::savingAMonthOffersItsLaterMonths() {
    QFETCH(bool, recompute);
    QFETCH(bool, cancel);
    QFETCH(QString, april);
    Workspace workspace;
    addComputedPayroll(workspace);
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        saveMonthsThrough(window, 6);
        QCOMPARE(workspace.shownTexts(), QStringList());
        workspace.answerConfirmations({recompute});
        prepare(window, 2026, 3);
        type(window.itemEditors.at(0), "0");
        QCOMPARE(taxEditor(window), "0.00"); // nothing refunded
        pressF1(window);
        const auto seen = std::make_shared<QString>();
        if (cancel)
            cancelProgressOf(&window, seen, "正在重新计算个人所得税…");
        window.b_s->click();
        QCOMPARE(*seen, cancel ? "正在重新计算个人所得税… 0/3" : "");
    }));
    QCOMPARE(
        workspace.shownTexts(),
        QStringList{"本年以后各月（202604、202605、202606）已录工资，其个人所得税可能因本月改变。"
                    "是否重新计算这些月份的个人所得税?"});
    QCOMPARE(stored("202603").section(' ', 4), "0.00");
    QCOMPARE(stored("202604").section(' ', 4), april);
    // Contributions of stored months stay as they were withheld.
    QCOMPARE(stored("202604").section(' ', 0, 3), "1600.00 400.00 100.00 2400.00");
}

// Clerk A adjusts March in another copy while clerk B takes February's pay back to nothing
// and has the later months recomputed. March is A's: B's recomputation leaves it, says so,
// and recomputes April. A's save then withholds March's tax on the year as it now stands,
// not on the year A's worksheet was prepared from, and A's own offer puts April right.
void EntryTaxTest::laterMonthHeldByAnotherCopyIsLeftToIt() {
    Workspace workspace;
    addComputedPayroll(workspace);
    OtherCopy clerkA;
    Tfrm_gzlr &windowA = clerkA.openEntry();
    QString aprilByB;
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        saveMonthsThrough(window, 4);
        clerkA.act([&] { prepare(windowA, 2026, 3); });
        QCOMPARE(stored("202603").section(' ', 4), "1850.00");

        workspace.answerConfirmations({true, true});
        prepare(window, 2026, 2);
        type(window.itemEditors.at(0), "0");
        pressF1(window);
        window.b_s->click();
        aprilByB = stored("202604").section(' ', 4);

        clerkA.act([&] { windowA.b_s->click(); });
    }));
    QCOMPARE(stored("202603").section(' ', 4), "210.00"); // 25,500 × 3 % − 555
    // The year's taxable 44,000 to April owes 1,880: less the 2,405 withheld on B's figures,
    // nothing; less the 765 withheld on A's, the rest.
    QCOMPARE(aprilByB, "0.00");
    QCOMPARE(stored("202604").section(' ', 4), "1115.00");
    QCOMPARE(workspace.shownTexts(),
             (QStringList{"本年以后各月（202603、202604）已录工资，其个人所得税可能因本月改变。"
                          "是否重新计算这些月份的个人所得税?",
                          "202603月工资正由其他操作员录入，其个人所得税未重新计算，"
                          "将在该操作员保存时重新计算！",
                          "本年以后各月（202604）已录工资，其个人所得税可能因本月改变。"
                          "是否重新计算这些月份的个人所得税?"}));
}

// 陈明 joins 林晓梅 from January with 8,900 a month; each later month of the half year is
// carried. Something then changes that a recomputation of his months would pick up, and
// March is adjusted to give 林晓梅 a bonus: his stored figures, of March and of the months
// after it, stay as they were withheld, whatever the clerk answers about the later months.
void EntryTaxTest::adjustingOneEmployeeLeavesTheOthersAsWithheld_data() {
    QTest::addColumn<QString>("since"); // the change after the half year was saved
    QTest::addColumn<bool>("recompute");
    QTest::addColumn<QString>("aprilOfHers"); // her tax after the adjustment

    // March: 170,000 less 13,500 of contributions, 6,000 special and 15,000 basic deductions,
    // × 10 % − 2,520 − 1,180. April: 154,000 × 20 % − 16,920 − 11,030.
    const QString raised = "update YGJS set sbjs=408000000, gjjjs=408000000 where ygh=2";
    QTest::newRow("his bases raised, later months recomputed") << raised << true << "2850.00";
    QTest::newRow("his bases raised, later months left") << raised << false << "1850.00";
    QTest::newRow("his tax withheld on other figures")
        << "update GZB set k5=k5+123400 where ygh=2" << true << "2850.00";
    QTest::newRow("a deduction of his added")
        << "insert into YGZXKC (ygh,lb,je,qsny) values (2,'赡养老人',30000000,'202601')" << true
        << "2850.00";
}

void EntryTaxTest::adjustingOneEmployeeLeavesTheOthersAsWithheld() {
    QFETCH(QString, since);
    QFETCH(bool, recompute);
    Workspace workspace;
    addComputedPayroll(workspace);
    workspace.exec("insert into YGZD (xm,xb,csrq,gzrq,bmh,zw,zt) values "
                   "('陈明','男','1986- 6- 6','2009- 7- 6',1,'工程师','1')");
    workspace.exec("insert into YGJS (ygh,sbjs,gjjjs) values (2,102000000,102000000)");
    const QString his = "select * from GZB where ygh=2 order by ny";
    QStringList asWithheld;
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        prepare(window, 2026, 1);
        type(window.itemEditors.at(0), "30000");
        pressF1(window);
        type(window.itemEditors.at(0), "8900");
        pressF1(window);
        window.b_s->click();
        for (int month = 2; month <= 6; ++month) {
            prepare(window, 2026, month);
            window.b_s->click();
        }
        workspace.exec(since);
        asWithheld = fileRows(his);
        QCOMPARE(asWithheld.size(), 6);

        workspace.answerConfirmations({recompute});
        prepare(window, 2026, 3);
        window.b_n->click();
        QCOMPARE(taxEditor(window), stored("202603", 2).section(' ', 4)); // shown as withheld
        window.b_p->click();
        type(window.itemEditors.at(0), "110000");
        pressF1(window);
        window.b_s->click();
    }));
    QCOMPARE(workspace.shownTexts().size(), 1); // the later months offered
    QCOMPARE(fileRows(his), asWithheld);
    QCOMPARE(stored("202603").section(' ', 4), "9850.00");
    QTEST(stored("202604").section(' ', 4), "aprilOfHers");
}

// 陈明's settings change from July. His first half year, July, and his March stored again
// afterwards each take the settings in force in their month, and his later months recomputed
// on the clerk's Yes withhold what they withheld.
void EntryTaxTest::storedAgainWithTheSettingsInForceInItsMonth_data() {
    QTest::addColumn<QString>("fromJuly"); // the change, stored as the settings dialogs do
    QTest::addColumn<QString>("july");     // his July as stored
    // 6 × 1,605 + 1,425 at 3 % less 6 × 48.15.
    QTest::newRow("bases raised") << "insert into YGJSBD (ygh,qsny,sbjs,gjjjs,qtkc) values "
                                     "(2,'202607',110000000,110000000,0)"
                                  << "880.00 220.00 55.00 1320.00 42.75";
    // 6 × 1,605 + 605 at 3 % less 6 × 48.15.
    QTest::newRow("other deductions begun") << "insert into YGJSBD (ygh,qsny,sbjs,gjjjs,qtkc) "
                                               "values (2,'202607',102000000,102000000,10000000)"
                                            << "816.00 204.00 51.00 1224.00 18.15";
    // 6 × 1,605 + 1,503 at 3 % less 6 × 48.15.
    QTest::newRow("pension rate raised")
        << "insert into GZXMJSBD (xmbh,qsny,bl,sx) values (2,'202607',90000,200000000)"
        << "918.00 204.00 51.00 1224.00 45.09";
}

void EntryTaxTest::storedAgainWithTheSettingsInForceInItsMonth() {
    QFETCH(QString, fromJuly);
    QFETCH(QString, july);
    Workspace workspace;
    addComputedPayroll(workspace);
    workspace.exec("insert into YGZD (xm,xb,csrq,gzrq,bmh,zw,zt) values "
                   "('陈明','男','1986- 6- 6','2009- 7- 6',1,'工程师','1')");
    workspace.exec("insert into YGJS (ygh,sbjs,gjjjs) values (2,102000000,102000000)");
    workspace.exec(fromJuly);
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        prepare(window, 2026, 1);
        type(window.itemEditors.at(0), "30000");
        pressF1(window);
        type(window.itemEditors.at(0), "8900");
        pressF1(window);
        window.b_s->click();
        for (int month = 2; month <= 6; ++month) {
            prepare(window, 2026, month);
            window.b_s->click();
        }
        prepare(window, 2026, 7);
        window.b_s->click();
        QCOMPARE(stored("202607", 2), july);

        workspace.answerConfirmations({true});
        prepare(window, 2026, 3);
        window.b_n->click();
        QCOMPARE(DM->AQ2.field("ygh").asInteger(), 2);
        pressF1(window);
        window.b_s->click();
    }));
    QCOMPARE(workspace.shownTexts().size(), 1); // the later months offered
    for (const char *month : {"202601", "202602", "202603", "202604", "202605", "202606"})
        QCOMPARE(stored(QLatin1String(month), 2), "816.00 204.00 51.00 1224.00 48.15");
    QCOMPARE(stored("202607", 2), july);
}

// 林晓梅's first half of 2026 was paid before the program: her opening figures are the
// published example's six months. Each opening month counts the monthly deduction in force
// in it, not the one in force in the month computed.
void EntryTaxTest::openingMonthsTakeTheirOwnDeduction_data() {
    QTest::addColumn<QString>("law"); // a monthly deduction added to the one of 2019
    QTest::addColumn<QString>("july");
    QTest::addColumn<QString>("august");
    QTest::newRow("the deduction of 2019") << ""
                                           << "1850.00"
                                           << "2250.00";
    // 128,500 × 10 % − 2,520 − 8,580; then 146,000 × 20 % − 16,920 − 10,330.
    QTest::newRow("6,000 from July") << "insert into GSJCFY (qsny,je) values ('202607',60000000)"
                                     << "1750.00"
                                     << "1950.00";
}

void EntryTaxTest::openingMonthsTakeTheirOwnDeduction() {
    QFETCH(QString, law);
    Workspace workspace;
    addComputedPayroll(workspace);
    workspace.exec("update YGJS set qcnd='2026', qcsr=1800000000, qcsqkc=270000000, "
                   "qczxkc=120000000, qcyjse=85800000, qcys=6 where ygh=1");
    if (!law.isEmpty())
        workspace.exec(law);
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        prepare(window, 2026, 7);
        type(window.itemEditors.at(0), "30000");
        pressF1(window);
        window.b_s->click();
        prepare(window, 2026, 8);
        window.b_s->click();
    }));
    QTEST(stored("202607").section(' ', 4), "july");
    QTEST(stored("202608").section(' ', 4), "august");
}

// Without any computed item every box is typed, nothing is computed and nothing is asked.
void EntryTaxTest::byHandWithoutRules() {
    Workspace workspace;
    addComputedPayroll(workspace);
    workspace.exec("delete from GZXMJS");
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        for (CurrencyEdit *editor : std::as_const(window.itemEditors))
            QVERIFY(!editor->isReadOnly());
        prepare(window, 2026, 1);
        type(window.itemEditors.at(0), "30000");
        type(window.itemEditors.at(5), "12.34");
        pressF1(window);
        window.b_s->click();
        prepare(window, 2026, 2);
        window.b_s->click();
        prepare(window, 2026, 1);
        window.b_s->click();
    }));
    QCOMPARE(stored("202601"), "0.00 0.00 0.00 0.00 12.34");
    QCOMPARE(stored("202602"), "0.00 0.00 0.00 0.00 0.00");
    QCOMPARE(workspace.shownTexts(), QStringList());
}

// A 20,000.00 year-end bonus in March beside the published example's pay: taxed apart,
// 600.00, without raising the cumulative tax of the months after it. A second bonus that year
// is pay like any other. The bonus's tax goes to its own item where there is one.
void EntryTaxTest::yearEndBonusTaxedApart_data() {
    QTest::addColumn<bool>("ownItem");
    QTest::addColumn<bool>("withPay");   // the employee's choice for 2026
    QTest::addColumn<QString>("august"); // the bonus typed in August, if any
    QTest::addColumn<QString>("taxes");  // "tax/bonus tax" of March, April and August
    QTest::newRow("into the income tax") << false << false << ""
                                         << "2450.00/0.00 1850.00/0.00 2250.00/0.00";
    QTest::newRow("into its own item") << true << false << ""
                                       << "1850.00/600.00 1850.00/0.00 2250.00/0.00";
    // 8 × 18,500 + 20,000 owes 16,680 less the 10,430 withheld through July.
    QTest::newRow("a second bonus with the pay") << true << false << "20000"
                                                 << "1850.00/600.00 1850.00/0.00 6250.00/0.00";
    // 3 × 18,500 + 20,000 owes 5,030 less 1,180; August's year owes 16,680 less 12,980.
    QTest::newRow("chosen to go with the pay") << true << true << ""
                                               << "3850.00/0.00 1850.00/0.00 3700.00/0.00";
}

void EntryTaxTest::yearEndBonusTaxedApart() {
    QFETCH(bool, ownItem);
    QFETCH(bool, withPay);
    QFETCH(QString, august);
    Workspace workspace;
    addComputedPayroll(workspace);
    if (withPay)
        workspace.exec("insert into YGNDSZ (ygh,nd,nzjhb) values (1,'2026',1)");
    workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values ('年终奖',0,'0')");
    workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values ('年终奖个税',0,'1')");
    workspace.exec(ownItem ? "insert into GZXMJS (xmbh,jsfs) values (7,'3'),(8,'4')"
                           : "insert into GZXMJS (xmbh,jsfs) values (7,'3')");
    // Editors: f1 基本工资, f2 年终奖, k1..k4 contributions, k5 个人所得税, k6 年终奖个税.
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(!window.itemEditors.at(1)->isReadOnly());
        QCOMPARE(window.itemEditors.at(7)->isReadOnly(), ownItem);
        for (int month = 1; month <= 8; ++month) {
            prepare(window, 2026, month);
            if (month == 1)
                type(window.itemEditors.at(0), "30000");
            if (month == 3)
                type(window.itemEditors.at(1), "20000");
            if (month == 8 && !august.isEmpty())
                type(window.itemEditors.at(1), qPrintable(august));
            if (month == 3 && !withPay) { // seen while typing, with the cost of the other way
                QCOMPARE(window.itemEditors.at(6)->value().toFixed2(),
                         ownItem ? "1850.00" : "2450.00");
                QVERIFY(window.itemEditors.at(ownItem ? 7 : 6)
                            ->toolTip()
                            .endsWith("全年一次性奖金 20000.00 单独计税 600.00，本月合计 "
                                      "2450.00；并入本月工资计税 3850.00，单独计税较低"));
            }
            pressF1(window);
            window.b_s->click();
        }
    }));
    QStringList taxes;
    for (const char *month : {"202603", "202604", "202608"}) {
        Query &row = DM->AQUP;
        openLines(row, {QStringLiteral("select k5, k6 from GZB where ny='%1' and ygh=1")
                            .arg(QLatin1String(month))});
        taxes << row.field("k5").asCurrency().toFixed2() + '/' +
                     row.field("k6").asCurrency().toFixed2();
    }
    QTEST(taxes.join(' '), "taxes");
}

// Computed boxes stand apart from typed ones: grey, read-only, passed over by Enter, and say
// how they came to their amounts; a bonus just over an edge is pointed out.
void EntryTaxTest::computedItemsLookComputed() {
    Workspace workspace;
    addComputedPayroll(workspace);
    workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values ('年终奖',0,'0')");
    workspace.exec("insert into GZXMJS (xmbh,jsfs) values (7,'3')");
    // Editors: f1 基本工资, f2 年终奖, k1..k4 contributions, k5 个人所得税.
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        prepare(window, 2026, 1);
        const QList<CurrencyEdit *> &editors = window.itemEditors;
        for (int i = 0; i < editors.size(); ++i) {
            const bool computed = i >= 2;
            QCOMPARE(editors.at(i)->isReadOnly(), computed);
            QCOMPARE(editors.at(i)->focusPolicy() == Qt::NoFocus, computed);
            QCOMPARE(editors.at(i)->palette().color(QPalette::Base) ==
                         editors.at(0)->palette().color(QPalette::Base),
                     !computed);
        }
        type(editors.at(0), "30000");
        QTest::keyClick(editors.at(0), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), editors.at(1));
        QTest::keyClick(editors.at(1), Qt::Key_Return);
        QVERIFY(editors.indexOf(qobject_cast<CurrencyEdit *>(QApplication::focusWidget())) < 2);
        QCOMPARE(editors.at(2)->toolTip(),
                 "按比例：社保基数 30000.00，按上限 20000.00 × 8% = 1600.00");
        QCOMPARE(editors.at(6)->toolTip(),
                 "累计预扣：本年收入 30000.00 − 税前扣除 4500.00 − 减除费用 5000.00 − "
                 "专项附加扣除 2000.00 − 其他扣除 0.00 = 应纳税所得额 18500.00；"
                 "应纳税额 555.00 − 已预扣 0.00 = 555.00");
        type(editors.at(1), "36001");
        QVERIFY2(editors.at(6)->toolTip().endsWith(
                     "注意：奖金刚超过 36000.00 元的临界点，税后反而少于发放 36000.00 元"),
                 qPrintable(editors.at(6)->toolTip()));
    }));
}

// Her first pay of the year comes in March. By default her year has the months since then;
// chosen so, the months since January; or the whole year's 60,000.00 from the start.
void EntryTaxTest::basicDeductionByTheYearsChoice_data() {
    QTest::addColumn<QString>("choice"); // a YGNDSZ column, empty: none
    QTest::addColumn<QString>("taxes");  // March and April
    QTest::newRow("none") << ""
                          << "555.00 625.00";
    QTest::newRow("since January") << "ljjc"
                                   << "255.00 555.00"; // 8,500 × 3 %; 27,000 × 3 % − 255
    QTest::newRow("whole year") << "qnjc"
                                << "0.00 0.00";
}

void EntryTaxTest::basicDeductionByTheYearsChoice() {
    QFETCH(QString, choice);
    Workspace workspace;
    addComputedPayroll(workspace);
    if (!choice.isEmpty())
        workspace.exec(
            QStringLiteral("insert into YGNDSZ (ygh,nd,%1) values (1,'2026',1)").arg(choice));
    runModule<Tfrm_gzlr>(Drive([&](Tfrm_gzlr &window) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        prepare(window, 2026, 3);
        type(window.itemEditors.at(0), "30000");
        pressF1(window);
        window.b_s->click();
        prepare(window, 2026, 4);
        window.b_s->click();
    }));
    QTEST(stored("202603").section(' ', 4) + ' ' + stored("202604").section(' ', 4), "taxes");
}

QTEST_MAIN(EntryTaxTest)
#include "test_gzlrtax.moc"
