// Closed months and the audit trail: a closed month is refused for every change, by the month
// object and by the database itself for any other connection; reopening needs a reason; every
// change, close, reopen and export of a month leaves a row with the month's figures before and
// after, and those rows cannot be changed or removed.
#include "audittrail.h"
#include "audittrailwindow.h"
#include "dberror.h"
#include "dbgrid.h"
#include "entrymonth.h"
#include "flatbutton.h"
#include "gzlr.h"
#include "modulerun.h"
#include "monthclaim.h"
#include "monthclose.h"
#include "monthclosedialog.h"
#include "officepayroll.h"
#include "openmonth.h"
#include "operator.h"
#include "spinedit.h"
#include "testserver.h"
#include "workspace.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

namespace {

// The office's payroll with November 2026 stored for both employees, October for 张三 alone.
void addPayroll(const Workspace &workspace) {
    addOfficePayroll(workspace);
    for (const char *sql : {
             "insert into GZB (ny,ygh,xm,bmmc,f1) values ('202610',1,'张三','办公室',8000*10000)",
             "insert into GZB (ny,ygh,xm,bmmc,f1) values ('202611',1,'张三','办公室',8000*10000)",
             "insert into GZB (ny,ygh,xm,bmmc,f1,k1) values "
             "('202611',2,'李四','办公室',4000*10000,100*10000)",
         })
        workspace.exec(QString::fromUtf8(sql));
}

// The month's row count and sums of earnings, deductions and net pay in ten-thousandths, as
// GZB holds them, counted here rather than by the program.
QString figuresOf(const QString &month) {
    return fileRows("select count(*),coalesce(sum(f1),0),coalesce(sum(k1),0),"
                    "coalesce(sum(f1-k1),0) from GZB where ny='" +
                    month + "'")
        .join('|');
}

// The newest audit row: action, figures before, figures after (in ten-thousandths), file,
// digest and reason.
QString newestAuditRow() {
    const QStringList rows =
        fileRows("select dz,qts as n0,qfh as e0,qkh as d0,qsf as s0,hts as n1,hfh as e1,hkh as "
                 "d1,hsf as s1,wjm,sha,yy from SJJL order by bh desc");
    return rows.value(0);
}

int auditRowCount() {
    return fileRows("select count(*) from SJJL").value(0).toInt();
}

void closeByOtherCopy(const QString &month) {
    Connection other;
    QCOMPARE(closeMonth(other, month), MonthClosing::Closed);
}

// The month as the entry window has it once shown.
void readyMonth(EntryMonth &month) {
    month.readRules();
    month.activate();
}

// What was refused; empty when nothing was.
template <typename Action> QString refusal(Action action) {
    try {
        action();
    } catch (const DbError &failure) {
        return failure.text();
    }
    return {};
}

} // namespace

class MonthCloseTest : public QObject {
    Q_OBJECT
private slots:
    void closedMonthRefusesChange_data();
    void closedMonthRefusesChange();
    void anotherProgramIsRefusedToo_data();
    void anotherProgramIsRefusedToo();
    void recomputationStopsAtAClosedMonth();
    void closingNeedsASavedMonthNobodyEnters_data();
    void closingNeedsASavedMonthNobodyEnters();
    void reopeningNeedsAReason_data();
    void reopeningNeedsAReason();
    void auditRowHoldsTheFigures_data();
    void auditRowHoldsTheFigures();
    void auditRowNamesWhoAndWhen();
    void auditRowLandsWithItsChange();
    void auditRowsCannotBeChangedOrRemoved_data();
    void auditRowsCannotBeChangedOrRemoved();
    void exportIsRecordedWithItsDigest();
    void entryWindowNamesTheClosedMonth_data();
    void entryWindowNamesTheClosedMonth();
    void entryWindowClosesAndReopensItsMonth();
    void auditWindowListsNewestFirst_data();
    void auditWindowListsNewestFirst();
};

void MonthCloseTest::closedMonthRefusesChange_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("refusal"); // what the clerk reads, in part

    const QString named = QStringLiteral("2026年11月已结账");
    const QString byDatabase = QStringLiteral("该月工资已结账");
    QTest::newRow("adjusting it") << "adjust" << named;
    QTest::newRow("deleting it") << "delete" << named;
    QTest::newRow("saving it when closed after it was prepared") << "save" << named;
    QTest::newRow("another connection updates a row")
        << "update GZB set f1=1 where ny='202611'" << byDatabase;
    QTest::newRow("another connection deletes its rows")
        << "delete from GZB where ny='202611'" << byDatabase;
    QTest::newRow("another connection adds a row")
        << "insert into GZB (ny,ygh) values ('202611',3)" << byDatabase;
    QTest::newRow("another connection moves a row into it")
        << "update GZB set ny='202611',ygh=3 where ny='202610'" << byDatabase;
}

// The month keeps its figures, and no audit row tells of a change that did not happen.
void MonthCloseTest::closedMonthRefusesChange() {
    QFETCH(QString, change);
    QFETCH(QString, refusal);
    Workspace workspace;
    addPayroll(workspace);
    EntryMonth month;
    readyMonth(month);
    if (change == "save") {
        QVERIFY(month.claim("202611"));
        month.prepare(noPulse);
        // Only a statement of its own gets past the claim this copy holds.
        workspace.exec("insert into GZJZ (ny) values ('202611')");
    } else {
        closeByOtherCopy("202611");
    }
    const QString figures = figuresOf("202611");
    const int auditRows = auditRowCount();

    QString refused;
    if (change == "adjust")
        refused = ::refusal([&] { month.claim("202611"); });
    else if (change == "delete")
        refused = ::refusal([&] { month.remove("202611", [] { return true; }); });
    else if (change == "save")
        refused = ::refusal([&] { month.save(noPulse); });
    else
        refused = ::refusal([&] { workspace.exec(change); });
    QVERIFY2(refused.contains(refusal), qPrintable(refused));
    QCOMPARE(figuresOf("202611"), figures);
    QCOMPARE(auditRowCount(), auditRows);
    if (change != "save")
        QVERIFY(!month.isEntering());
}

void MonthCloseTest::anotherProgramIsRefusedToo_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("changing a closed month's row") << "update GZB set f1=1 where ny='202611'"
                                                   << "该月工资已结账";
    QTest::newRow("deleting a closed month") << "delete from GZB where ny='202611'"
                                             << "该月工资已结账";
    QTest::newRow("changing the audit trail") << "update SJJL set czy='某人'"
                                              << "审计记录只能添加";
    QTest::newRow("emptying the audit trail") << "delete from SJJL"
                                              << "审计记录只能添加";
    if (testsOnServer()) {
        QTest::newRow("truncating the salaries") << "truncate GZB"
                                                 << "该月工资已结账";
        QTest::newRow("truncating the audit trail") << "truncate SJJL"
                                                    << "审计记录只能添加";
    }
}

// The database's own shell, a process that knows nothing of this program, is refused alike:
// the rules live in the file or on the server, not in the program.
void MonthCloseTest::anotherProgramIsRefusedToo() {
    QFETCH(QString, statement);
    QFETCH(QString, refusal);
    Workspace workspace;
    addPayroll(workspace);
    const QString shell = QStandardPaths::findExecutable(testsOnServer() ? "psql" : "sqlite3");
    if (shell.isEmpty())
        QSKIP("the database's shell is not installed");
    closeByOtherCopy("202611");
    const QString figures = figuresOf("202611");
    const QString audit = newestAuditRow();

    QProcess process;
    process.setProgram(shell);
    process.setArguments(testsOnServer()
                             ? QStringList{"-X", "-v", "ON_ERROR_STOP=1", "-d",
                                           workspace.address().location(), "-c", statement}
                             : QStringList{workspace.databasePath(), statement});
    process.start();
    QVERIFY(process.waitForFinished(-1));
    const QString said = QString::fromUtf8(process.readAllStandardError());
    QVERIFY2(process.exitCode() != 0 && said.contains(refusal), qPrintable(said));
    QCOMPARE(figuresOf("202611"), figures);
    QCOMPARE(newestAuditRow(), audit);
}

// The months before the closed one are recomputed; it and those after it keep their tax, and
// the clerk learns which month stopped the recomputation.
void MonthCloseTest::recomputationStopsAtAClosedMonth() {
    Workspace workspace;
    addPayroll(workspace);
    workspace.exec("insert into GZB (ny,ygh,f1) values ('202609',1,8000*10000)");
    workspace.exec("update GZB set k1=999*10000 where ygh=1");
    closeByOtherCopy("202610");
    EntryMonth month;
    readyMonth(month);
    const QStringList later = month.laterMonthsOfYear("202608");
    QCOMPARE(later, (QStringList{"202609", "202610", "202611"}));
    const EntryMonth::Recomputation done = month.recomputeLaterMonths(later, [](int) {});
    QCOMPARE(done.stoppedAt, QString("202610"));
    QCOMPARE(done.held, QStringList());
    QCOMPARE(fileRows("select ny,k1/10000 from GZB where ygh=1 order by ny"),
             (QStringList{"202609|90", "202610|999", "202611|999"}));
    QCOMPARE(fileRows("select ny from SJJL where dz='重算个税'"), QStringList{"202609"});
}

void MonthCloseTest::closingNeedsASavedMonthNobodyEnters_data() {
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("situation");
    QTest::addColumn<MonthClosing>("outcome");

    QTest::newRow("saved") << "202611"
                           << "" << MonthClosing::Closed;
    QTest::newRow("not saved") << "202612"
                               << "" << MonthClosing::NotSaved;
    QTest::newRow("being entered by another copy") << "202611"
                                                   << "entered" << MonthClosing::HeldElsewhere;
    QTest::newRow("closed already") << "202611"
                                    << "closed" << MonthClosing::AlreadyClosed;
}

// Closing claims the month as a save does, and lets it go again.
void MonthCloseTest::closingNeedsASavedMonthNobodyEnters() {
    QFETCH(QString, month);
    QFETCH(QString, situation);
    QFETCH(MonthClosing, outcome);
    Workspace workspace;
    addPayroll(workspace);
    Connection other;
    if (situation == "entered")
        QVERIFY(other.monthClaim().claim(month));
    if (situation == "closed")
        QCOMPARE(closeMonth(other, month), MonthClosing::Closed);

    QCOMPARE(closeMonth(DM->ADC, month), outcome);
    QCOMPARE(isMonthClosed(DM->ADC, month),
             outcome == MonthClosing::Closed || outcome == MonthClosing::AlreadyClosed);
    other.monthClaim().release();
    QVERIFY(other.monthClaim().claim(month));
}

void MonthCloseTest::reopeningNeedsAReason_data() {
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<MonthReopening>("outcome");

    QTest::newRow("with a reason") << true << "发现李四的工资录错" << MonthReopening::Reopened;
    QTest::newRow("without a reason") << true << "" << MonthReopening::NoReason;
    QTest::newRow("with blanks for a reason") << true << "  \t" << MonthReopening::NoReason;
    QTest::newRow("a month not closed") << false << "发现错误" << MonthReopening::NotClosed;
}

// A reopened month can be entered again; one refused stays closed.
void MonthCloseTest::reopeningNeedsAReason() {
    QFETCH(bool, closed);
    QFETCH(QString, reason);
    QFETCH(MonthReopening, outcome);
    Workspace workspace;
    addPayroll(workspace);
    if (closed)
        closeByOtherCopy("202611");

    QCOMPARE(reopenMonth(DM->ADC, "202611", reason), outcome);
    QCOMPARE(isMonthClosed(DM->ADC, "202611"), outcome == MonthReopening::NoReason);
    EntryMonth month;
    readyMonth(month);
    if (outcome == MonthReopening::NoReason) {
        QVERIFY(!::refusal([&] { month.claim("202611"); }).isEmpty());
        return;
    }
    QVERIFY(month.claim("202611"));
    month.prepare(noPulse);
    QVERIFY(month.save(noPulse));
}

void MonthCloseTest::auditRowHoldsTheFigures_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("recorded"); // the action as the trail names it

    QTest::newRow("saving a new month") << "save"
                                        << "202612"
                                        << "保存";
    QTest::newRow("adjusting a stored month") << "adjust"
                                              << "202611"
                                              << "调整";
    QTest::newRow("deleting a month") << "delete"
                                      << "202611"
                                      << "删除";
    QTest::newRow("recomputing its tax") << "recompute"
                                         << "202611"
                                         << "重算个税";
    QTest::newRow("closing it") << "close"
                                << "202611"
                                << "结账";
    QTest::newRow("reopening it") << "reopen"
                                  << "202611"
                                  << "反结账";
}

// The figures before and after are the month's as GZB holds it just before and just after.
void MonthCloseTest::auditRowHoldsTheFigures() {
    QFETCH(QString, action);
    QFETCH(QString, month);
    QFETCH(QString, recorded);
    Workspace workspace;
    addPayroll(workspace);
    if (action == "reopen")
        closeByOtherCopy(month);
    const QString before = figuresOf(month);

    EntryMonth entry;
    readyMonth(entry);
    QString reason;
    if (action == "save" || action == "adjust") {
        QVERIFY(entry.claim(month));
        entry.prepare(noPulse);
        entry.storeEmployee({{"f1", Currency::fromUnits(9000 * 10000)}});
        QVERIFY(entry.save(noPulse));
    } else if (action == "delete") {
        QCOMPARE(entry.remove(month, [] { return true; }), EntryMonth::Removal::Removed);
    } else if (action == "recompute") {
        QCOMPARE(entry.recomputeLaterMonths({month}, [](int) {}).held, QStringList());
    } else if (action == "close") {
        QCOMPARE(closeMonth(DM->ADC, month), MonthClosing::Closed);
    } else {
        reason = "发现李四的工资录错";
        QCOMPARE(reopenMonth(DM->ADC, month, reason), MonthReopening::Reopened);
    }
    const QString after = figuresOf(month);
    if (action != "close" && action != "reopen")
        QVERIFY2(after != before, qPrintable(after));
    QCOMPARE(newestAuditRow(), QStringList({recorded, before, after, "", "", reason}).join('|'));
}

// Who: the operating system's user on a file, the database's own user on a server, whatever
// the environment claims there.
void MonthCloseTest::auditRowNamesWhoAndWhen() {
    Workspace workspace;
    addPayroll(workspace);
    const QByteArray user = qgetenv("USER");
    const auto restore = qScopeGuard([&user] { qputenv("USER", user); });
    qputenv("USER", QString("出纳小王").toUtf8());
    const QString start = QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm:ss");
    QCOMPARE(closeMonth(DM->ADC, "202611"), MonthClosing::Closed);
    const QString end = QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm:ss");
    const QStringList row = fileRows("select czy,sj,ny from SJJL").value(0).split('|');
    const QString who = testsOnServer() ? fileRows("select cast(current_user as text)").value(0)
                                        : QString("出纳小王");
    QCOMPARE(row.value(0), who);
    QVERIFY2(row.value(1) >= start && row.value(1) <= end, qPrintable(row.value(1)));
    QCOMPARE(row.value(2), QString("202611"));
}

// A change whose audit row cannot be written does not happen.
void MonthCloseTest::auditRowLandsWithItsChange() {
    Workspace workspace;
    addPayroll(workspace);
    const QString figures = figuresOf("202611");
    workspace.refuseInserts("SJJL", "disk full");
    EntryMonth month;
    readyMonth(month);
    QVERIFY(!::refusal([&] { month.remove("202611", [] { return true; }); }).isEmpty());
    QVERIFY(!::refusal([&] { closeMonth(DM->ADC, "202611"); }).isEmpty());
    workspace.stopRefusingInserts("SJJL");
    QCOMPARE(figuresOf("202611"), figures);
    QVERIFY(!isMonthClosed(DM->ADC, "202611"));
    QCOMPARE(auditRowCount(), 0);
}

void MonthCloseTest::auditRowsCannotBeChangedOrRemoved_data() {
    QTest::addColumn<QString>("statement");
    QTest::newRow("update") << "update SJJL set dz='保存'";
    QTest::newRow("delete") << "delete from SJJL";
}

void MonthCloseTest::auditRowsCannotBeChangedOrRemoved() {
    QFETCH(QString, statement);
    Workspace workspace;
    addPayroll(workspace);
    QCOMPARE(closeMonth(DM->ADC, "202611"), MonthClosing::Closed);
    const QString row = newestAuditRow();
    const QString refused = ::refusal([&] { workspace.exec(statement); });
    QVERIFY2(refused.contains("审计记录只能添加"), qPrintable(refused));
    QCOMPARE(auditRowCount(), 1);
    QCOMPARE(newestAuditRow(), row);
}

// The digest is the written file's: the well-known SHA-256 of "abc".
void MonthCloseTest::exportIsRecordedWithItsDigest() {
    Workspace workspace;
    addPayroll(workspace);
    const QString path = workspace.path() + "/银行代发202611.csv";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("abc");
    file.close();
    const QString digest = AuditTrail::fileSha256(path);
    QCOMPARE(digest, QString("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"));
    QCOMPARE(AuditTrail::fileSha256(workspace.path() + "/none.csv"), QString());

    AuditTrail::recordExport(DM->ADC, "202611", path, digest);
    const QString figures = figuresOf("202611");
    QCOMPARE(newestAuditRow(),
             QStringList({"导出", figures, figures, "银行代发202611.csv", digest, ""}).join('|'));
}

void MonthCloseTest::entryWindowNamesTheClosedMonth_data() {
    QTest::addColumn<QString>("button");
    QTest::newRow("调整") << "b_o";
    QTest::newRow("删除本月") << "b_d";
}

// The clerk reads which month is closed, and is not asked to confirm what cannot happen.
void MonthCloseTest::entryWindowNamesTheClosedMonth() {
    QFETCH(QString, button);
    Workspace workspace;
    addPayroll(workspace);
    closeByOtherCopy("202611");
    const QString figures = figuresOf("202611");
    runModule<Tfrm_gzlr>(std::function<void(Tfrm_gzlr &)>([&](Tfrm_gzlr &window) {
        window.e_n->setValue(2026);
        window.e_y->setValue(11);
        click(window.findChild<FlatButton *>(button));
        QCOMPARE(workspace.shownMessages().size(), 1);
        QCOMPARE(workspace.shownMessages().at(0).kind, Messages::Kind::Error);
        QVERIFY2(workspace.shownTexts().at(0).contains("2026年11月已结账"),
                 qPrintable(workspace.shownTexts().at(0)));
        QVERIFY(!window.b_s->isEnabled());
    }));
    QCOMPARE(figuresOf("202611"), figures);
}

// From the window's context menu, on the month of its boxes: a reopen without a reason is
// refused, one with a reason done.
void MonthCloseTest::entryWindowClosesAndReopensItsMonth() {
    Workspace workspace;
    addPayroll(workspace);
    runModule<Tfrm_gzlr>(std::function<void(Tfrm_gzlr &)>([&](Tfrm_gzlr &window) {
        window.e_n->setValue(2026);
        window.e_y->setValue(11);
        QCOMPARE(window.contextMenuPolicy(), Qt::ActionsContextMenu);
        QVERIFY(window.actions().contains(window.a_jz));
        QTimer::singleShot(0, &window, [&] {
            auto *dialog = dynamic_cast<MonthCloseDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            const auto closeDialog = qScopeGuard([dialog] { dialog->SpeedButton3->click(); });
            QCOMPARE(dialog->e_n->value(), 2026);
            QCOMPARE(dialog->e_y->value(), 11);
            click(dialog->b_jz);
            QVERIFY(isMonthClosed(DM->ADC, "202611"));
            click(dialog->b_fjz);
            QVERIFY(isMonthClosed(DM->ADC, "202611"));
            dialog->e_yy->setText("李四的扣款录错");
            click(dialog->b_fjz);
            QVERIFY(!isMonthClosed(DM->ADC, "202611"));
        });
        window.a_jz->trigger();
    }));
    QCOMPARE(workspace.shownTexts(),
             (QStringList{"2026年11月已结账！", "请填写反结账的原因！", "2026年11月已反结账！"}));
    QCOMPARE(fileRows("select dz,yy from SJJL order by bh"),
             (QStringList{"结账|", "反结账|李四的扣款录错"}));
}

void MonthCloseTest::auditWindowListsNewestFirst_data() {
    QTest::addColumn<bool>("allMonths");
    QTest::addColumn<QStringList>("listed"); // month and action, top to bottom
    QTest::addColumn<QString>("earnings");   // the first row's, before
    QTest::newRow("November") << false << QStringList{"202611 反结账", "202611 结账"} << "12000.00";
    QTest::newRow("all months") << true
                                << QStringList{"202610 结账", "202611 反结账", "202611 结账"}
                                << "8000.00";
}

void MonthCloseTest::auditWindowListsNewestFirst() {
    QFETCH(bool, allMonths);
    QFETCH(QStringList, listed);
    QFETCH(QString, earnings);
    Workspace workspace;
    addPayroll(workspace);
    QCOMPARE(closeMonth(DM->ADC, "202611"), MonthClosing::Closed);
    QCOMPARE(reopenMonth(DM->ADC, "202611", "补发奖金"), MonthReopening::Reopened);
    QCOMPARE(closeMonth(DM->ADC, "202610"), MonthClosing::Closed);
    runModule<AuditTrailWindow>(
        std::function<void(AuditTrailWindow &)>([&](AuditTrailWindow &window) {
            window.e_n->setValue(2026);
            window.e_y->setValue(11);
            if (allMonths)
                window.c_all->click();
            QAbstractItemModel *rows = window.RxDBGrid1->model();
            QStringList shown;
            for (int row = 0; row < rows->rowCount(); ++row)
                shown << rows->index(row, 2).data().toString() + " " +
                             rows->index(row, 3).data().toString();
            QCOMPARE(shown, listed);
            for (int column = 4; column < 12; ++column)
                QVERIFY(rows->index(0, column).data(Qt::TextAlignmentRole).toInt() &
                        Qt::AlignRight);
            QCOMPARE(rows->index(0, 5).data().toString(), earnings);
        }));
}

QTEST_MAIN(MonthCloseTest)
#include "test_monthclose.moc"
