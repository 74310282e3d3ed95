// The set-up tool: the structure of the file it makes, the demo organisation, its refusal
// to overwrite a payroll that is already there, and that it never passes off a file it could
// not finish as a payroll.
#include "data.h"
#include "databasesetup.h"
#include "filemark.h"
#include "schemaversion.h"
#include "syntheticdata.h"
#include "workspace.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {

QStringList columnsOf(const QString &table) {
    Query &query = DM->AQ1;
    query.clearSql();
    query.addLine(QStringLiteral("select * from %1 where 0=1").arg(table));
    query.open();
    QStringList names;
    for (int column = 0; column < query.columnCount(); ++column)
        names << query.columnName(column);
    return names;
}

QString firstValue(const QString &sql) {
    Query &query = DM->AQ1;
    query.clearSql();
    query.addLine(sql);
    query.open();
    return query.cell(0, 0).asString();
}

} // namespace

class SetupTest : public QObject {
    Q_OBJECT
private slots:
    void monthTablesShareTheirColumnOrder();
    void defaultsMakeNewRowsUsable();
    void demoHoldsLastMonthsYearSoFar_data();
    void demoHoldsLastMonthsYearSoFar();
    void syntheticHoldsTheSizeAsked();
    void toolRefusesSyntheticSizes_data();
    void toolRefusesSyntheticSizes();
    void toolRefusesToOverwrite();
    void toolMakesTheFolderItIsGiven();
    void toolReportsWhatItCouldNotCreate_data();
    void toolReportsWhatItCouldNotCreate();
};

void SetupTest::monthTablesShareTheirColumnOrder() {
    Workspace workspace;
    QStringList expected{"ny", "ygh", "xm", "xb", "csrq", "gzrq", "bmmc", "zw", "zt"};
    for (const char *kind : {"f", "k"})
        for (int slot = 1; slot <= 20; ++slot)
            expected << QStringLiteral("%1%2").arg(QLatin1String(kind)).arg(slot);
    QCOMPARE(columnsOf("GZB"), expected);
    QCOMPARE(columnsOf("Temp_GZB"), expected);
    QCOMPARE(columnsOf("YGZD"), (QStringList{"bh", "xm", "xb", "csrq", "gzrq", "bmh", "zw", "zt"}));
    QCOMPARE(firstValue("pragma user_version"), QString::number(schemaVersion));
    QCOMPARE(firstValue("pragma application_id"), QString::number(payrollFileMark));
}

void SetupTest::defaultsMakeNewRowsUsable() {
    Workspace workspace;
    workspace.exec("insert into YGZD (xm,xb,csrq,gzrq,bmh,zw) values ('张三','男','    -  -  ','   "
                   " -  -  ',1,'')");
    workspace.exec("insert into BMZD (mc) values ('办公室'),('财务科')");
    workspace.exec("insert into GZB (ny,ygh) values ('202612',1)");
    QCOMPARE(firstValue("select zt from YGZD"), QStringLiteral("1"));
    QCOMPARE(firstValue("select group_concat(bh) from BMZD"), QStringLiteral("1,2"));
    QCOMPARE(firstValue("select (k1+k20)-(f1+f20) as sf from GZB"), QStringLiteral("0"));
}

void SetupTest::demoHoldsLastMonthsYearSoFar_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("months");
    QTest::addColumn<QString>("exampleTax"); // yuan, month by month
    // 陈明's May of 2026 made in December, with 409.20 docked for leave, which is taken before
    // tax (7.69, not 19.97); empty: not checked.
    QTest::addColumn<QString>("mayWithLeave");
    // 张建国's December: "year-end bonus|tax"; empty: no December.
    QTest::addColumn<QString>("decemberWithBonus");
    const QString published = "555,625,1850,1850,1850,1850,1850,2250,3700,3700,3700,3700";
    QTest::newRow("within a year") << QDate(2026, 12, 10)
                                   << "202601,202602,202603,202604,202605,202606,202607,202608,"
                                      "202609,202610,202611"
                                   << published.section(',', 0, 10) << "4092000|76900"
                                   << "";
    // December's tax: 720.00 for the bonus (3 % of 24,000.00, taxed apart) and 79.97 for the
    // month's pay.
    QTest::newRow("in January: all of last year")
        << QDate(2027, 1, 31)
        << "202601,202602,202603,202604,202605,202606,202607,202608,202609,202610,202611,202612"
        << published << ""
        << "240000000|7999700";
    QTest::newRow("in February: January alone") << QDate(2027, 2, 1) << "202701"
                                                << "555"
                                                << ""
                                                << "";
}

void SetupTest::demoHoldsLastMonthsYearSoFar() {
    QFETCH(QDate, today);
    Workspace workspace(Workspace::Database::Demo, today);
    QFETCH(QString, months);
    QCOMPARE(firstValue("select group_concat(ny) from (select distinct ny from GZB order by ny)"),
             months);
    // 林晓梅 carries the published withholding example, computed by the payroll rules.
    QTEST(firstValue("select group_concat(k5/10000) from (select k5 from GZB g, YGZD y where "
                     "g.ygh=y.bh and y.xm='林晓梅' order by ny)"),
          "exampleTax");
    QCOMPARE(firstValue("select count(*) from GZB g, YGZD y where g.ygh=y.bh and y.xm='林晓梅' "
                        "and k1+k2+k3+k4<>45000000"),
             QStringLiteral("0"));
    // "column|column" in ten-thousandths, of the employee's month; empty: no such month.
    const auto amounts = [](const char *columns, const char *name, const char *month) {
        return firstValue(
            QStringLiteral("select group_concat(%1) as units from GZB g, YGZD y "
                           "where g.ygh=y.bh and y.xm='%2' and ny='%3'")
                .arg(QLatin1String(columns), QString::fromUtf8(name), QLatin1String(month)));
    };
    QFETCH(QString, mayWithLeave);
    if (!mayWithLeave.isEmpty())
        QCOMPARE(amounts("k6||'|'||k5", "陈明", "202605"), mayWithLeave);
    QTEST(amounts("f5||'|'||k5", "张建国", "202612"), "decemberWithBonus");
    // Only active employees are paid, each with a snapshot of the department's name.
    QCOMPARE(firstValue("select count(*) from GZB g, YGZD y where g.ygh=y.bh and y.zt='2'"),
             QStringLiteral("0"));
    QCOMPARE(firstValue("select count(*) from GZB g, YGZD y, BMZD b where g.ygh=y.bh and "
                        "y.bmh=b.bh and g.bmmc=b.mc"),
             QString::number(13 * (months.count(',') + 1)));
    QCOMPARE(firstValue("select count(distinct S_JC) from GZXMZD"), QStringLiteral("2"));
}

// Seven employees, three earnings and two deductions, over the three months before today.
void SetupTest::syntheticHoldsTheSizeAsked() {
    // The data module connects on first use, to the file made here.
    Workspace workspace(Workspace::Database::None);
    DatabaseSetup::createSyntheticDatabase(workspace.path(), {7, 5, 3}, QDate(2027, 2, 1));
    QCOMPARE(firstValue("select group_concat(ny) from (select distinct ny from GZB order by ny)"),
             QStringLiteral("202611,202612,202701"));
    QCOMPARE(firstValue("select count(*) from GZB g, YGZD y, BMZD b where g.ygh=y.bh and "
                        "y.bmh=b.bh and g.bmmc=b.mc and y.zt='1'"),
             QStringLiteral("21"));
    QCOMPARE(firstValue("select group_concat(S_FK,'') from (select S_FK from GZXMZD order by bh)"),
             QStringLiteral("00011"));
    // Every item has an amount in every row, and no column beyond the items has one.
    QCOMPARE(firstValue("select count(*) from GZB where f3>0 and k2>0 and f4=0 and k3=0"),
             QStringLiteral("21"));
}

void SetupTest::toolRefusesSyntheticSizes_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("no employee") << QStringList{"--synthetic", "0,5,3"} << 1;
    QTest::newRow("more items than columns") << QStringList{"--synthetic", "5,41,3"} << 1;
    QTest::newRow("negative months") << QStringList{"--synthetic", "5,5,-1"} << 1;
    QTest::newRow("two numbers") << QStringList{"--synthetic", "5,5"} << 1;
    QTest::newRow("not numbers") << QStringList{"--synthetic", "a,b,c"} << 1;
    QTest::newRow("size missing") << QStringList{"--synthetic"} << 2;
    QTest::newRow("with the demo") << QStringList{"--demo", "--synthetic", "5,5,3"} << 2;
}

// A size the tool cannot make leaves the folder as it was.
void SetupTest::toolRefusesSyntheticSizes() {
    QFETCH(QStringList, arguments);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QProcess tool;
    tool.start(QStringLiteral(GZDB_SETUP), arguments << folder.path());
    QVERIFY(tool.waitForFinished());
    QTEST(tool.exitCode(), "exitCode");
    QVERIFY(QDir(folder.path()).isEmpty());
}

void SetupTest::toolRefusesToOverwrite() {
    Workspace workspace;
    workspace.exec("insert into BMZD (mc) values ('办公室')");
    QVERIFY_THROWS_EXCEPTION(
        DatabaseSetup::SetupError,
        DatabaseSetup::createDatabase(workspace.path(), DatabaseSetup::Contents::Demo));

    QProcess tool;
    tool.start(QStringLiteral(GZDB_SETUP), {QStringLiteral("--demo"), workspace.path()});
    QVERIFY(tool.waitForFinished());
    QCOMPARE(tool.exitCode(), 1);
    QVERIFY(tool.readAllStandardError().contains("already exists"));
    QCOMPARE(firstValue("select count(*) from BMZD"), QStringLiteral("1"));
}

void SetupTest::toolMakesTheFolderItIsGiven() {
    QTemporaryDir top;
    QVERIFY(top.isValid());
    const QString folder = QDir(top.path()).filePath(QStringLiteral("工资"));
    QProcess tool;
    tool.start(QStringLiteral(GZDB_SETUP), {QStringLiteral("--demo"), folder});
    QVERIFY(tool.waitForFinished());
    QCOMPARE(tool.exitCode(), 0);
    QVERIFY(QFileInfo(QDir(folder).filePath(QStringLiteral("GZDB.mdb"))).isFile());
}

// `folder` is the argument given, relative to an empty temporary folder; `fileLimit` (in
// blocks of 512 bytes, 0 for none) stands for a disk that fills up: every write beyond it
// fails, as on a full disk. `message` is a pattern of what the tool says.
void SetupTest::toolReportsWhatItCouldNotCreate_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("fileLimit");
    QTest::addColumn<QString>("message");

    const QString notCreated = QStringLiteral("^gzdb-setup: .*/GZDB\\.mdb was not created: \\S");
    QTest::newRow("no folder") << "" << 0 << "^gzdb-setup: no folder given\n$";
    QTest::newRow("folder inside a missing one")
        << "missing/new" << 0
        << "^gzdb-setup: folder missing/new does not exist and cannot be made\n$";
    QTest::newRow("plain file instead of a folder")
        << "plain.txt" << 0 << "^gzdb-setup: plain.txt is not a folder\n$";
    QTest::newRow("folder it may not write to") << "locked" << 0 << notCreated;
    // The structure takes 68 KB, the demo 92 KB.
    QTest::newRow("disk full at once") << "." << 2 << notCreated;
    QTest::newRow("disk full during the demo") << "." << 72 << notCreated;
    // The folder the tool made for the file goes with it.
    QTest::newRow("new folder, disk full") << "new" << 2 << notCreated;
}

void SetupTest::toolReportsWhatItCouldNotCreate() {
    QFETCH(QString, folder);
    QFETCH(int, fileLimit);
    QFETCH(QString, message);
    QTemporaryDir top;
    QVERIFY(top.isValid());
    QDir dir(top.path());
    QFile plain(dir.filePath("plain.txt"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    QVERIFY(dir.mkdir("locked"));
    QVERIFY(QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner));
    if (folder == "locked" && access(qPrintable(dir.filePath("locked")), W_OK) == 0)
        QSKIP("this user may write into any folder");

    // The signal would end the tool at once; ignored, the write fails as on a full disk.
    QProcess tool;
    tool.setWorkingDirectory(top.path());
    tool.start("/bin/sh", {"-c",
                           QStringLiteral("trap '' XFSZ; [ %1 -eq 0 ] || ulimit -f %1; "
                                          "exec \"$0\" --demo \"$1\"")
                               .arg(fileLimit),
                           QStringLiteral(GZDB_SETUP), folder});
    QVERIFY(tool.waitForFinished());
    const QString error = QString::fromLocal8Bit(tool.readAllStandardError());
    QVERIFY2(error.contains(QRegularExpression(message)), qPrintable(error));
    QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
    QCOMPARE(tool.exitCode(), 1);
    QCOMPARE(tool.readAllStandardOutput(), QByteArray());
    QCOMPARE(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             (QStringList{"locked", "plain.txt"}));
    QVERIFY(QDir(dir.filePath("locked")).isEmpty());
}

QTEST_GUILESS_MAIN(SetupTest)
#include "test_setup.moc"
