// The shared query's contract, on a real database file: cursor moves and their after-scroll
// notifications, bookmarks, lookups by name and the errors of wrong names.
#include "data.h"
#include "dberror.h"
#include "testserver.h"
#include "workspace.h"

#include <QTest>

namespace {

// Three departments, so a result of three rows is one statement away.
void addDepartments(Workspace &workspace) {
    workspace.exec(QStringLiteral("insert into BMZD (mc) values ('办公室'),('财务科'),('技术部')"));
}

void openStatement(Query &query, const QString &sql) {
    query.clearSql();
    query.addLine(sql);
    query.open();
}

} // namespace

class QueryTest : public QObject {
    Q_OBJECT
private slots:
    void afterScroll_data();
    void afterScroll();
    void bookmarkSurvivesReopen();
    void lookupsIgnoreCase();
    void wrongNamesAreErrors_data();
    void wrongNamesAreErrors();
    void readingOutsideTheResultIsAnError_data();
    void readingOutsideTheResultIsAnError();
    void readsNullsAsEmpty();
    void closingEmptiesDataSources();
    void closedQueryHasNoRows_data();
    void closedQueryHasNoRows();
};

// Each step is an operation; `calls` is how often AfterScroll had run after all steps, `row`
// the current row (-1 none) and `eof` the end mark.
void QueryTest::afterScroll_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("calls");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("eof");

    const QString rows = QStringLiteral("BMZD");
    const QString none = QStringLiteral("GZB");
    QTest::newRow("open with rows") << rows << QStringList{"open"} << 1 << 0 << false;
    QTest::newRow("open empty") << none << QStringList{"open"} << 0 << -1 << true;
    QTest::newRow("next moves") << rows << QStringList{"open", "next"} << 2 << 1 << false;
    QTest::newRow("next into the end raises once more")
        << rows << QStringList{"open", "next", "next", "next"} << 4 << 2 << true;
    QTest::newRow("next past the end raises nothing")
        << rows << QStringList{"open", "next", "next", "next", "next", "next"} << 4 << 2 << true;
    QTest::newRow("prior at the start after open raises nothing")
        << rows << QStringList{"open", "prior"} << 1 << 0 << false;
    QTest::newRow("prior back into the start")
        << rows << QStringList{"open", "next", "prior", "prior"} << 4 << 0 << false;
    QTest::newRow("prior from the end mark")
        << rows << QStringList{"open", "next", "next", "next", "prior"} << 5 << 1 << false;
    QTest::newRow("first") << rows << QStringList{"open", "next", "first"} << 3 << 0 << false;
    QTest::newRow("next on empty raises nothing")
        << none << QStringList{"open", "next", "prior"} << 0 << -1 << true;
}

void QueryTest::afterScroll() {
    QFETCH(QString, table);
    QFETCH(QStringList, steps);
    Workspace workspace;
    addDepartments(workspace);
    Query &query = DM->AQ2;
    int calls = 0;
    query.setAfterScroll([&calls](Query &) { ++calls; });
    query.clearSql();
    query.addLine(QStringLiteral("select * from %1 order by 1").arg(table));
    for (const QString &step : steps) {
        if (step == "open")
            query.open();
        else if (step == "next")
            query.next();
        else if (step == "prior")
            query.prior();
        else if (step == "first")
            query.first();
    }
    QTEST(calls, "calls");
    QTEST(query.currentRow(), "row");
    QTEST(query.eof(), "eof");
}

void QueryTest::bookmarkSurvivesReopen() {
    Workspace workspace;
    addDepartments(workspace);
    Query &query = DM->AQ2;
    openStatement(query, QStringLiteral("select * from BMZD order by bh"));
    query.next();
    query.next();
    const Query::Bookmark mark = query.bookmark();
    query.close();
    query.open();
    QCOMPARE(query.field("mc").asString(), QStringLiteral("办公室"));

    QString seen;
    query.setAfterScroll([&seen](Query &q) { seen = q.field("MC").asString(); });
    query.gotoBookmark(mark);
    QCOMPARE(seen, QStringLiteral("技术部"));
    QVERIFY(!query.eof());
    QVERIFY_THROWS_EXCEPTION(DbError, query.gotoBookmark(3));
}

void QueryTest::lookupsIgnoreCase() {
    Workspace workspace(Workspace::Database::Demo);
    Query &query = DM->AQ1;
    query.clearSql();
    query.addLine(
        QStringLiteral("select a.*,b.mc as bmmc from YGZD as a,BMZD as b where a.bmh=b.bh"));
    query.addLine(QStringLiteral(" and a.BH=:Bh "));
    // A record number typed into an edit box is bound as text and still finds the integer key.
    query.param(QStringLiteral("bH")).setText(QStringLiteral("3"));
    query.open();
    QCOMPARE(query.recordCount(), 1);
    QCOMPARE(query.field("XM").asString(), query.field("xm").asString());
    QCOMPARE(query.field("xm").asString(), QStringLiteral("王志强"));
    QCOMPARE(query.field("BMMC").asString(), QStringLiteral("财务科"));
    QCOMPARE(query.field("bmh").asInteger(), 2);
}

void QueryTest::wrongNamesAreErrors_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("message");

    QTest::newRow("parameter the text lacks") << "select * from BMZD where bh=:bh"
                                              << "ny"
                                              << ""
                                              << "Parameter 'ny' not found";
    QTest::newRow("parameter inside a literal is text") << "select ':bh' as t from BMZD"
                                                        << "bh"
                                                        << ""
                                                        << "Parameter 'bh' not found";
    QTest::newRow("parameter left unset") << "select * from BMZD where bh=:bh"
                                          << ""
                                          << ""
                                          << "No value given for parameter 'bh'";
    QTest::newRow("field the result lacks") << "select mc from BMZD"
                                            << ""
                                            << "bh"
                                            << "Field 'bh' not found";
    // The engine's own words, which differ between a file and a server.
    const bool server = testsOnServer();
    QTest::newRow("table missing")
        << "select * from NOSUCH"
        << ""
        << ""
        << engineRefusal(server ? "relation \"nosuch\" does not exist" : "no such table: NOSUCH");
    QTest::newRow("column missing")
        << "select nosuch from BMZD"
        << ""
        << ""
        << engineRefusal(server ? "column \"nosuch\" does not exist" : "no such column: nosuch");
}

void QueryTest::wrongNamesAreErrors() {
    QFETCH(QString, sql);
    QFETCH(QString, parameter);
    QFETCH(QString, field);
    QFETCH(QString, message);
    Workspace workspace;
    addDepartments(workspace);
    Query &query = DM->AQ1;
    try {
        query.clearSql();
        query.addLine(sql);
        if (!parameter.isEmpty())
            query.param(parameter).setInteger(1);
        query.open();
        query.field(field.isEmpty() ? QStringLiteral("mc") : field);
        QFAIL("no error");
    } catch (const DbError &error) {
        QCOMPARE(error.text(), message);
    }
}

// The three departments' result has 3 rows and 2 columns.
void QueryTest::readingOutsideTheResultIsAnError_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("row after the last") << 3 << 0;
    QTest::newRow("row before the first") << -1 << 0;
    QTest::newRow("column after the last") << 0 << 2;
    QTest::newRow("column before the first") << 0 << -1;
}

void QueryTest::readingOutsideTheResultIsAnError() {
    QFETCH(int, row);
    QFETCH(int, column);
    Workspace workspace;
    addDepartments(workspace);
    Query &query = DM->AQ1;
    openStatement(query, QStringLiteral("select bh, mc from BMZD"));
    QVERIFY_THROWS_EXCEPTION(DbError, query.cell(row, column));
    if (column == 0)
        QVERIFY_THROWS_EXCEPTION(DbError, query.fieldAt(row, QStringLiteral("mc")));
    else
        QVERIFY_THROWS_EXCEPTION(DbError, query.columnName(column));
    QCOMPARE(query.cell(2, 1).asString(), QStringLiteral("技术部"));
}

void QueryTest::readsNullsAsEmpty() {
    Workspace workspace;
    Query &query = DM->AQ1;
    openStatement(
        query, QStringLiteral("select max(ny) as ny, max(f1) as f1, max(ygh) as ygh from GZB  "));
    QVERIFY(!query.isEmpty());
    QCOMPARE(query.recordCount(), 1);
    QCOMPARE(query.field("ny").asString(), QString());
    QCOMPARE(query.field("f1").asCurrency(), Currency());
    QCOMPARE(query.field("ygh").asInteger(), 0);
    QCOMPARE(query.field("ygh").asBoolean(), false);
}

void QueryTest::closingEmptiesDataSources() {
    Workspace workspace;
    addDepartments(workspace);
    openStatement(DM->AQ1, QStringLiteral("select * from BMZD"));
    openStatement(DM->AQ2, QStringLiteral("select * from BMZD where bh>1"));
    QCOMPARE(DM->DS1.rowCount(), 3);
    QCOMPARE(DM->DS2.rowCount(), 2);
    CloseAllQueries();
    QVERIFY(!DM->AQ1.isOpen() && !DM->AQ2.isOpen() && !DM->AQUP.isOpen());
    QCOMPARE(DM->DS1.rowCount(), 0);
    QCOMPARE(DM->DS2.rowCount(), 0);
    QCOMPARE(DM->DS1.columnCount(), 0);
}

// A report asked to print after a filter change closed its query finds nothing to print; none
// of its reads may fail.
void QueryTest::closedQueryHasNoRows_data() {
    QTest::addColumn<bool>("opened");
    QTest::newRow("never opened") << false;
    QTest::newRow("closed after opening") << true;
}

void QueryTest::closedQueryHasNoRows() {
    QFETCH(bool, opened);
    Workspace workspace;
    addDepartments(workspace);
    Query &query = DM->AQ1;
    if (opened) {
        openStatement(query, QStringLiteral("select * from BMZD"));
        query.next();
        CloseAllQueries();
    }
    int scrolls = 0;
    query.setAfterScroll([&scrolls](Query &) { ++scrolls; });
    QVERIFY(query.isEmpty());
    QCOMPARE(query.recordCount(), 0);
    QVERIFY(query.eof());
    QVERIFY(query.bof());
    query.first();
    query.next();
    query.prior();
    QCOMPARE(query.currentRow(), -1);
    QCOMPARE(scrolls, 0);
    const Field field = query.field(QStringLiteral("mc"));
    QVERIFY(field.isNull());
    QCOMPARE(field.asString(), QString());
    QCOMPARE(field.asInteger(), 0);
    QCOMPARE(field.asCurrency(), Currency());
    QCOMPARE(field.asBoolean(), false);
    QVERIFY_THROWS_EXCEPTION(DbError, query.gotoBookmark(0));
}

QTEST_GUILESS_MAIN(QueryTest)
#include "test_query.moc"
