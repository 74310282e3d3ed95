// The set-up tool: the structure of the file it makes, the demo organisation, and its refusal
// to overwrite a payroll that is already there.
#include "data.h"
#include "databasesetup.h"
#include "workspace.h"

#include <QProcess>
#include <QTest>

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
    void demoHoldsTheThreeMonthsBeforeToday_data();
    void demoHoldsTheThreeMonthsBeforeToday();
    void toolRefusesToOverwrite();
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
    QCOMPARE(firstValue("pragma user_version"), QStringLiteral("1"));
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

void SetupTest::demoHoldsTheThreeMonthsBeforeToday_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("months");
    QTest::newRow("within a year") << QDate(2026, 12, 10) << "202609,202610,202611";
    QTest::newRow("across the new year") << QDate(2027, 1, 31) << "202610,202611,202612";
}

void SetupTest::demoHoldsTheThreeMonthsBeforeToday() {
    QFETCH(QDate, today);
    Workspace workspace(Workspace::Database::Demo, today);
    QTEST(firstValue("select group_concat(ny) from (select distinct ny from GZB order by ny)"),
          "months");
    // Only active employees are paid, each with a snapshot of the department's name.
    QCOMPARE(firstValue("select count(*) from GZB g, YGZD y where g.ygh=y.bh and y.zt='2'"),
             QStringLiteral("0"));
    QCOMPARE(firstValue("select count(*) from GZB g, YGZD y, BMZD b where g.ygh=y.bh and "
                        "y.bmh=b.bh and g.bmmc=b.mc"),
             QStringLiteral("36"));
    QCOMPARE(firstValue("select count(distinct S_JC) from GZXMZD"), QStringLiteral("2"));
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

QTEST_GUILESS_MAIN(SetupTest)
#include "test_setup.moc"
