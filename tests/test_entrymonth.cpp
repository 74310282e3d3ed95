// The month of the salary entry window without the window: reading its status, preparing,
// storing an employee, saving, cancelling, recomputing later months, and what a failure or a
// lost connection leaves of it. Other copies of the program are connections of the test's own.
#include "dberror.h"
#include "entrymonth.h"
#include "monthclaim.h"
#include "officepayroll.h"
#include "openmonth.h"
#include "operator.h"
#include "progress.h"
#include "testserver.h"
#include "workspace.h"

#include <QTest>

namespace {

// The office's payroll with November 2026 stored for both employees.
void addPayroll(const Workspace &workspace) {
    addOfficePayroll(workspace);
    for (const char *sql : {
             "insert into GZB (ny,ygh,xm,xb,csrq,gzrq,bmmc,zw,zt,f1) values "
             "('202611',1,'张三','男','1980- 1- 2','2000- 3- 4','办公室','主任','1',8000*10000)",
             "insert into GZB (ny,ygh,xm,xb,csrq,gzrq,bmmc,zw,zt,f1) values "
             "('202611',2,'李四','女','1985-11-12','2008- 7- 1','办公室','会计','1',4000*10000)",
         })
        workspace.exec(QString::fromUtf8(sql));
}

Currency yuan(const char *text) {
    return Currency::fromText(QString::fromUtf8(text)).value();
}

// Whether another copy could claim `key` now; it lets go again at once.
bool claimableElsewhere(const QString &key) {
    Connection other;
    const bool claimed = other.monthClaim().claim(key);
    other.monthClaim().release();
    return claimed;
}

} // namespace

class EntryMonthTest : public QObject {
    Q_OBJECT
private slots:
    void status_data();
    void status();
    void monthHeldElsewhereIsNotPrepared();
    void failedPreparationHoldsNothing_data();
    void failedPreparationHoldsNothing();
    void enteredMonthEnds_data();
    void enteredMonthEnds();
    void adjustedMonthComputesOnlyWhomItMust_data();
    void adjustedMonthComputesOnlyWhomItMust();
    void recomputationLeavesHeldMonths();
    void employeeBetweenThoseComputedKeepsHisTax();
    void lostConnectionGivesTheMonthUp();
};

void EntryMonthTest::status_data() {
    QTest::addColumn<QString>("stored"); // months in GZB besides November
    QTest::addColumn<bool>("shown");     // the window has been shown
    QTest::addColumn<QString>("month");
    QTest::addColumn<EntryMonth::Status>("status");
    QTest::addColumn<QString>("lastMonth");

    using Status = EntryMonth::Status;
    QTest::newRow("before the window is shown") << "" << false << "202611" << Status::Unread << "";
    QTest::newRow("nothing stored") << "none" << true << "202612" << Status::FirstUse << "";
    QTest::newRow("stored") << "" << true << "202611" << Status::Entered << "202611";
    QTest::newRow("after the last") << "" << true << "202612" << Status::Carried << "202611";
    QTest::newRow("before the last") << "202701" << true << "202610" << Status::Carried << "202701";
}

void EntryMonthTest::status() {
    QFETCH(QString, stored);
    QFETCH(bool, shown);
    QFETCH(QString, month);
    Workspace workspace;
    addPayroll(workspace);
    if (stored == "none")
        workspace.exec("delete from GZB");
    else if (!stored.isEmpty())
        workspace.exec("insert into GZB (ny,ygh) values ('" + stored + "',1)");
    EntryMonth entry;
    if (shown)
        entry.activate();
    entry.choose(month);
    QTEST(entry.status(), "status");
    QTEST(entry.lastMonth(), "lastMonth");
    QCOMPARE(entry.month(), month);
}

// A month another copy holds is refused, and refusing it holds nothing: not even the month
// this copy chose before.
void EntryMonthTest::monthHeldElsewhereIsNotPrepared() {
    Workspace workspace;
    addPayroll(workspace);
    Connection other;
    QVERIFY(other.monthClaim().claim("202612"));
    EntryMonth month;
    month.activate();
    QVERIFY(month.claim("202611"));
    QVERIFY(!month.claim("202612"));
    QVERIFY(!month.isEntering());
    QVERIFY(claimableElsewhere("202611"));
    other.monthClaim().release();
    QVERIFY(month.claim("202612"));
}

// However preparing ends early, the worksheet is left empty, the list closed and the month
// free for another copy.
void EntryMonthTest::failedPreparationHoldsNothing_data() {
    QTest::addColumn<QString>("ending");
    QTest::newRow("insert refused") << "refused";
    QTest::newRow("cancelled by the clerk") << "cancelled";
}

void EntryMonthTest::failedPreparationHoldsNothing() {
    QFETCH(QString, ending);
    Workspace workspace;
    addPayroll(workspace);
    if (ending == "refused")
        workspace.refuseInserts("temp_gzb", "disk full", "new.ygh=2");
    EntryMonth month;
    month.readRules();
    month.activate();
    QVERIFY(month.claim("202612"));
    int pulses = 0;
    try {
        month.prepare([&] {
            if (ending == "cancelled" && ++pulses == 2)
                throw OperationCancelled();
        });
        QFAIL("the preparation went through");
    } catch (const DbError &failure) {
        QCOMPARE(ending, "refused");
        QVERIFY(failure.text().contains("disk full"));
    } catch (const OperationCancelled &) {
        QCOMPARE(ending, "cancelled");
    }
    QVERIFY(!month.isEntering());
    QVERIFY(!month.isRereading());
    QVERIFY(!DM->AQ2.isOpen());
    openLines(DM->AQUP, {"select count(*) as n from temp_gzb"});
    QCOMPARE(DM->AQUP.field("n").asInteger(), 0);
    QVERIFY(claimableElsewhere("202612"));
}

// December carried from November: the first employee's amount is stored and the list moves
// on; saving stores the month with its tax computed, cancelling stores nothing. Either way
// the month is free afterwards.
void EntryMonthTest::enteredMonthEnds_data() {
    QTest::addColumn<bool>("save");
    QTest::addColumn<QStringList>("december"); // ygh|f1|k1 as stored
    QTest::newRow("saved") << true << QStringList{"1|9000|210", "2|4000|0"};
    QTest::newRow("cancelled") << false << QStringList();
}

void EntryMonthTest::enteredMonthEnds() {
    QFETCH(bool, save);
    Workspace workspace;
    addPayroll(workspace);
    EntryMonth month;
    openMonth(month, "202612");
    QCOMPARE(month.status(), EntryMonth::Status::Carried);
    QVERIFY(!claimableElsewhere("202612"));
    QCOMPARE(DM->AQ2.field("ygh").asInteger(), 1);
    month.storeEmployee({{"f1", yuan("9000")}, {"k1", yuan("0")}});
    QVERIFY(!month.isRereading());
    QCOMPARE(DM->AQ2.field("ygh").asInteger(), 2);
    if (save)
        QVERIFY(month.save(noPulse));
    month.close();
    QVERIFY(!month.isEntering());
    QVERIFY(!DM->AQ2.isOpen());
    QVERIFY(claimableElsewhere("202612"));
    QTEST(fileRows("select ygh,f1/10000,k1/10000 from GZB where ny='202612' order by ygh"),
          "december");
}

// November is adjusted after its tax was withheld on other figures (999 each): saving computes
// the tax again only of the employee whose amounts were stored, and of one whose earlier
// months another copy changed meanwhile; everyone else keeps what was withheld.
void EntryMonthTest::adjustedMonthComputesOnlyWhomItMust_data() {
    QTest::addColumn<bool>("typed");           // 张三's amounts stored
    QTest::addColumn<QString>("meanwhile");    // run by another copy once the month is prepared
    QTest::addColumn<QStringList>("november"); // ygh|f1|k1 as stored
    QTest::newRow("nothing stored") << false << "" << QStringList{"1|8000|999", "2|4000|999"};
    QTest::newRow("one employee stored") << true << "" << QStringList{"1|9000|120", "2|4000|999"};
    // 李四's year to November now holds October's 4,000 too: less two months' 10,000 of
    // deductions nothing is taxable.
    QTest::newRow("another's October stored meanwhile")
        << false << "insert into GZB (ny,ygh,f1) values ('202610',2,4000*10000)"
        << QStringList{"1|8000|999", "2|4000|0"};
}

void EntryMonthTest::adjustedMonthComputesOnlyWhomItMust() {
    QFETCH(bool, typed);
    QFETCH(QString, meanwhile);
    Workspace workspace;
    addPayroll(workspace);
    workspace.exec("update GZB set k1=999*10000");
    EntryMonth month;
    openMonth(month, "202611");
    QCOMPARE(month.status(), EntryMonth::Status::Entered);
    QVERIFY(month.isAdjusting());
    if (typed)
        month.storeEmployee({{"f1", yuan("9000")}, {"k1", yuan("999")}});
    if (!meanwhile.isEmpty())
        workspace.exec(meanwhile);
    QVERIFY(month.save(noPulse));
    month.close();
    QTEST(fileRows("select ygh,f1/10000,k1/10000 from GZB where ny='202611' order by ygh"),
          "november");
}

// The months another copy is entering are named and left as they are; the others are
// recomputed, and none of them stays claimed.
void EntryMonthTest::recomputationLeavesHeldMonths() {
    Workspace workspace;
    addPayroll(workspace);
    workspace.exec("update GZB set k1=999*10000");
    for (const char *month : {"202609", "202610"})
        workspace.exec(QStringLiteral("insert into GZB (ny,ygh,f1,k1) values ('%1',1,8000*10000,"
                                      "999*10000)")
                           .arg(QLatin1String(month)));
    Connection other;
    QVERIFY(other.monthClaim().claim("202610"));
    EntryMonth month;
    month.readRules();
    month.activate();
    const QStringList later = month.laterMonthsOfYear("202608");
    QCOMPARE(later, (QStringList{"202609", "202610", "202611"}));
    QList<int> steps;
    QCOMPARE(month.recomputeLaterMonths(later, [&](int done) { steps << done; }).held,
             QStringList{"202610"});
    QCOMPARE(steps, (QList<int>{0, 1, 2, 3}));
    QCOMPARE(fileRows("select ny,k1/10000 from GZB where ygh=1 order by ny"),
             (QStringList{"202609|90", "202610|999", "202611|0"}));
    other.monthClaim().release();
    for (const QString &recomputed : later)
        QVERIFY2(claimableElsewhere(recomputed), qPrintable(recomputed));
}

// 张三 and a third employee, 王五, are imported into November after its tax was withheld on
// other figures (999 each): their tax is computed again, in November and in December
// recomputed after it. 李四, numbered between them, keeps what was withheld in both.
void EntryMonthTest::employeeBetweenThoseComputedKeepsHisTax() {
    Workspace workspace;
    addPayroll(workspace);
    for (const char *sql : {
             "insert into YGZD (xm,xb,csrq,gzrq,bmh,zw,zt) values "
             "('王五','男','1990- 5- 6','2015- 8- 1',1,'出纳','1')",
             "insert into GZB (ny,ygh,f1) values ('202611',3,9000*10000)",
             "update GZB set k1=999*10000",
             "insert into GZB (ny,ygh,f1,k1) select '202612',ygh,8000*10000,999*10000 from GZB",
         })
        workspace.exec(QString::fromUtf8(sql));
    EntryMonth month;
    openMonth(month, "202611");
    month.storeEmployees({{1, {{"f1", yuan("9000")}}}, {3, {{"f1", yuan("9000")}}}});
    QVERIFY(month.save(noPulse));
    month.close();
    QVERIFY(
        month.recomputeLaterMonths(month.laterMonthsOfYear("202611"), [](int) {}).held.isEmpty());
    // November: 9,000 less 5,000 at 3 %; December: 7,000 at 3 % less November's 120.
    QCOMPARE(fileRows("select ny,ygh,k1/10000 from GZB order by ny,ygh"),
             (QStringList{"202611|1|120", "202611|2|999", "202611|3|120", "202612|1|90",
                          "202612|2|999", "202612|3|90"}));
}

// The server ends the clerk's session while a month is entered: the worksheet and the claim
// went with it. The month is given up, another copy may take it, and once the connection is
// made again the clerk prepares it afresh.
void EntryMonthTest::lostConnectionGivesTheMonthUp() {
    if (!testsOnServer())
        QSKIP("a file's connection is never lost");
    Workspace workspace;
    addPayroll(workspace);
    EntryMonth month;
    openMonth(month, "202612");
    endProgramSession();

    try {
        month.storeEmployee({{"f1", yuan("9000")}, {"k1", yuan("0")}});
        QFAIL("stored on a connection the server ended");
    } catch (const DbError &failure) {
        QCOMPARE(failure.kind(), DbError::Kind::ConnectionLost);
        QVERIFY(month.giveUpIfLost(failure));
    }
    QVERIFY(!month.isEntering());
    QVERIFY(!DM->AQ2.isOpen());
    QVERIFY(claimableElsewhere("202612"));

    QVERIFY(month.claim("202612"));
    month.prepare(noPulse);
    QCOMPARE(DM->AQ2.recordCount(), 2);
}

QTEST_MAIN(EntryMonthTest)
#include "test_entrymonth.moc"
