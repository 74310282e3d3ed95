// The statement forms the windows write, run on the real database file with the meaning the
// windows rely on, and the exactness of money on its way in and out.
#include "amountcolumns.h"
#include "data.h"
#include "dberror.h"
#include "filemark.h"
#include "salarycolumns.h"
#include "schematables.h"
#include "schemaversion.h"
#include "sqldialect.h"
#include "testserver.h"
#include "transaction.h"
#include "workspace.h"
#include "writebatch.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

namespace {

const QString totals[] = {
    QStringLiteral(
        "(f1+f2+f3+f4+f5+f6+f7+f8+f9+f10+f11+f12+f13+f14+f15+f16+f17+f18+f19+f20) as f_h,"),
    QStringLiteral(
        "(k1+k2+k3+k4+k5+k6+k7+k8+k9+k10+k11+k12+k13+k14+k15+k16+k17+k18+k19+k20) as k_h,"),
    QStringLiteral("(f1+f2+f3+f4+f5+f6+f7+f8+f9+f10+f11+f12+f13+f14+f15+f16+f17+f18+f19+f20)-(k1+"
                   "k2+k3+k4+k5+k6+k7+"
                   "k8+k9+k10+k11+k12+k13+k14+k15+k16+k17+k18+k19+k20) as sf"),
};

void statement(Query &query, const QStringList &lines) {
    query.clearSql();
    for (const QString &line : lines)
        query.addLine(line);
}

int count(const QString &sql) {
    Query &query = DM->AQ2;
    statement(query, {sql});
    query.open();
    return query.field(QStringLiteral("n")).asInteger();
}

} // namespace

class SqlTest : public QObject {
    Q_OBJECT
private slots:
    void jetForms_data();
    void jetForms();
    void serverReadsTheStatementsAsTheFileDoes_data();
    void serverReadsTheStatementsAsTheFileDoes();
    void linesAreSeparatedByLineBreaks();
    void moneyIsExact();
    void statementReadAgainAtAnySize();
    void floatsBindToNearestUnit_data();
    void floatsBindToNearestUnit();
    void onlyAmountColumnsReadAsCurrency_data();
    void onlyAmountColumnsReadAsCurrency();
    void schemaDeclaresTheAmountColumns_data();
    void schemaDeclaresTheAmountColumns();
    void amountDeclarationsAreRead_data();
    void amountDeclarationsAreRead();
    void contradictoryDeclarationIsRefused();
    void declaredAmountColumnIsBoundAndReadExactly();
    void valuesOfWrongTypeAreRejected();
    void missingFileIsAnErrorAndIsNotCreated();
    void newerLayoutIsRefused();
    void onlyThisProgramsFilesAreOpened_data();
    void onlyThisProgramsFilesAreOpened();
    void secondProgramMayOpenTheFile();
    void transactionLandsWholeOrNotAtAll_data();
    void transactionLandsWholeOrNotAtAll();
    void batchedWritesLandOrReportTheirRefusal_data();
    void batchedWritesLandOrReportTheirRefusal();
    void fragmentsReadAlikeOnEitherEngine();
    void namesSortInPinyinOrder_data();
    void namesSortInPinyinOrder();
    void plainSqliteReadsTheFile();
    void salaryColumnLines();
};

// Demo data: 14 employees (13 active), 4 departments, January to November 2026 stored.
void SqlTest::jetForms_data() {
    QTest::addColumn<QStringList>("change");
    QTest::addColumn<QString>("check");
    QTest::addColumn<int>("expected");

    QTest::newRow("delete with a star")
        << QStringList{"delete * from GZB"} << "select count(*) as n from GZB" << 0;
    QTest::newRow("delete with a condition") << QStringList{"delete from GZB where ny='202611' "}
                                             << "select count(*) as n from GZB" << 130;
    QTest::newRow("insert from a query pairs columns by position")
        << QStringList{"insert into temp_gzb           ", "select * from GZB where ny='202610' "}
        << "select count(*) as n from Temp_GZB where ny='202610' and f1>0 and xm<>''" << 13;
    QTest::newRow("sub-query with in") << QStringList{}
                                       << "select count(*) as n from GZB where ny='202611' and ygh "
                                          "in (select bh from ygzd where zt='1' )"
                                       << 13;
    QTest::newRow("join as a comma list with unqualified condition")
        << QStringList{}
        << "select count(*) as n from YGZD as a,BMZD as b where a.bmh=b.bh and zt='1' " << 13;
    QTest::newRow("between includes both ends")
        << QStringList{}
        << "select count(distinct ny) as n from GZB where (ny between '202609' and '202610') " << 2;
    QTest::newRow("between reversed selects nothing")
        << QStringList{}
        << "select count(*) as n from GZB where (ny between '202611' and '202609') " << 0;
    QTest::newRow("like with percent")
        << QStringList{} << "select count(*) as n from YGZD where (xm like '%丽%') " << 2;
    QTest::newRow("grouping") << QStringList{}
                              << "select count(*) as n from (select ny from GZB group by ny )"
                              << 11;
    QTest::newRow("text compared with a literal")
        << QStringList{} << "select count(*) as n from GZXMZD where s_fk='0'" << 5;
    QTest::newRow("delete with a star inside a stored name stays as written")
        << QStringList{"insert into BMZD (mc) values ('delete * from GZB')"}
        << "select count(*) as n from BMZD where length(mc)=17" << 1;
    QTest::newRow("delete with a star inside a like pattern stays as written")
        << QStringList{"insert into BMZD (mc) values ('delete from GZB')"}
        << "select count(*) as n from BMZD where mc like 'delete * from%'" << 0;
    QTest::newRow("update a column to itself")
        << QStringList{"update gzb set ", "f3=0,", "ny=ny where ygh=5"}
        << "select count(*) as n from GZB where ygh=5 and f3=0 and ny like '2026%'" << 11;
}

void SqlTest::jetForms() {
    QFETCH(QStringList, change);
    QFETCH(QString, check);
    QFETCH(int, expected);
    Workspace workspace(Workspace::Database::Demo);
    if (!change.isEmpty()) {
        statement(DM->AQUP, change);
        DM->AQUP.execSql();
    }
    QCOMPARE(count(check), expected);
}

// Each engine is given the inherited forms it reads differently, and only those: literals stay
// as written. Both are given the terms that make an order total, the same on either.
void SqlTest::serverReadsTheStatementsAsTheFileDoes_data() {
    QTest::addColumn<QString>("jet");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("server");

    QTest::newRow("markers by position") << "select * from GZB where ny=:ny and ygh=:ygh or ny=:ny"
                                         << "select * from GZB where ny=? and ygh=? or ny=?"
                                         << "select * from GZB where ny=$1 and ygh=$2 or ny=$3";
    QTest::newRow("like ignores case")
        << "select * from GZB where xm like :xm and zw like 'like%'"
        << "select * from GZB where xm like ? and zw like 'like%'"
        << "select * from GZB where xm ilike $1 and zw ilike 'like%'";
    QTest::newRow("a sub-query gets a name")
        << "select count(*) as n from (select ny from GZB group by ny )"
        << "select count(*) as n from (select ny from GZB group by ny )"
        << "select count(*) as n from (select ny from GZB group by ny ) as gz_derived1";
    QTest::newRow("a named sub-query keeps its name")
        << "select count(*) as n from (select ny from GZB) as months"
        << "select count(*) as n from (select ny from GZB) as months"
        << "select count(*) as n from (select ny from GZB) as months";
    QTest::newRow("nulls first going up, last going down, none where there are none")
        << "select * from GZXMZD order by s_fk desc,bh desc"
        << "select * from GZXMZD order by s_fk desc,bh desc"
        << "select * from GZXMZD order by s_fk desc nulls last ,bh desc";
    QTest::newRow("a listing in the order of its key") << "select * from BMZD"
                                                       << "select * from BMZD order by bh"
                                                       << "select * from BMZD order by bh";
    QTest::newRow("a listing of a table without a numbered key stays as written")
        << "select * from GZB where ny='202611'"
        << "select * from GZB where ny='202611'"
        << "select * from GZB where ny='202611'";
    QTest::newRow("collate nocase is pinyin order")
        << "select mc from BMZD order by mc collate nocase"
        << "select mc from BMZD order by mc collate nocase, bh"
        << "select mc from BMZD order by mc collate \"zh-x-icu\" nulls first , bh";
    QTest::newRow("salaries of a department by month and employee number")
        << "select * from GZB where ny=:ny order by bmmc"
        << "select * from GZB where ny=? order by bmmc, ny, ygh"
        << "select * from GZB where ny=$1 order by bmmc nulls first , ny nulls first , ygh "
           "nulls first ";
    QTest::newRow("amounts are never null")
        << "select * from GZB order by f3 desc, ny limit 5"
        << "select * from GZB order by f3 desc, ny, ygh limit 5"
        << "select * from GZB order by f3 desc, ny nulls first , ygh nulls first limit 5";
    QTest::newRow("key terms already there are not repeated")
        << "select * from GZB order by ygh,NY desc"
        << "select * from GZB order by ygh,NY desc"
        << "select * from GZB order by ygh nulls first , NY desc nulls last ";
    QTest::newRow("a grouped listing by every group")
        << "select ygh,xm,sum(f1) as f1 from GZB group by ygh,xm order by ygh "
        << "select ygh,xm,sum(f1) as f1 from GZB group by ygh,xm order by ygh, xm "
        << "select ygh,xm,sum(f1) as f1 from GZB group by ygh,xm order by ygh nulls first , xm "
           "nulls first ";
    QTest::newRow("a join by its first table's key")
        << "select a.*,b.mc as bmmc from YGZD as a,BMZD as b where a.bmh=b.bh order by a.bmh"
        << "select a.*,b.mc as bmmc from YGZD as a,BMZD as b where a.bmh=b.bh order by a.bmh, "
           "a.bh"
        << "select a.*,b.mc as bmmc from YGZD as a,BMZD as b where a.bmh=b.bh order by a.bmh "
           "nulls first , a.bh";
    QTest::newRow("distinct rows stay as written")
        << "select distinct ny from GZB order by ny"
        << "select distinct ny from GZB order by ny"
        << "select distinct ny from GZB order by ny nulls first ";
    QTest::newRow("literals untouched")
        << "insert into BMZD (mc) values ('delete * from (x) like :y order by')"
        << "insert into BMZD (mc) values ('delete * from (x) like :y order by')"
        << "insert into BMZD (mc) values ('delete * from (x) like :y order by')";
}

void SqlTest::serverReadsTheStatementsAsTheFileDoes() {
    QFETCH(QString, jet);
    QFETCH(QString, file);
    QFETCH(QString, server);
    QCOMPARE(translateStatement(jet, SqlDialect::Sqlite).sql, file);
    QCOMPARE(translateStatement(jet, SqlDialect::Postgres).sql, server);
}

void SqlTest::linesAreSeparatedByLineBreaks() {
    Workspace workspace(Workspace::Database::Demo);
    statement(DM->AQ1, {"insert into temp_gzb           ", "select * from gzb where ny=:ny "});
    DM->AQ1.param("NY").setText("202611");
    DM->AQ1.execSql();
    statement(DM->AQ1, {"delete from gzb where ny=:ny "});
    DM->AQ1.param("ny").setText("202611");
    DM->AQ1.execSql();
    statement(DM->AQ1, {"insert into gzb           ", "select * from temp_gzb    "});
    DM->AQ1.execSql();
    QCOMPARE(count("select count(*) as n from GZB where ny='202611'"), 13);
}

// 0.1 + 0.2 is not 0.3 in floating point; stored amounts and the totals of a row must be.
void SqlTest::moneyIsExact() {
    Workspace workspace;
    statement(DM->AQUP,
              {"insert into GZB (ny,ygh,f1,f2,f20,k1) values (:ny,:ygh,:f1,:f2,:F20,:k1)"});
    DM->AQUP.param("ny").setText("202612");
    DM->AQUP.param("ygh").setInteger(1);
    DM->AQUP.param("f1").setFloat(0.1);
    DM->AQUP.param("f2").setFloat(0.2);
    DM->AQUP.param("f20").setFloat(1234567.89);
    DM->AQUP.param("k1").setFloat(0.3);
    DM->AQUP.execSql();

    Query &query = DM->AQ1;
    statement(query, {"select *,", totals[0], totals[1], totals[2], " from GZB"});
    query.open();
    QCOMPARE(query.field("f1").asCurrency().units(), 1000);
    QCOMPARE(query.field("f_h").asCurrency(), Currency::fromUnits(12345681900));
    QCOMPARE(query.field("k_h").asCurrency().toFixed2(), QStringLiteral("0.30"));
    QCOMPARE(query.field("sf").asCurrency().toFixed2(), QStringLiteral("1234567.89"));
    QCOMPARE(query.field("f_h").asString(), QStringLiteral("1234568.19"));

    statement(query, {"select sum(f1+f2) as f_h, sum(f1) as f1 from GZB"});
    query.open();
    QCOMPARE(query.field("f_h").asCurrency().toFixed2(), QStringLiteral("0.30"));
    QCOMPARE(query.field("F1").asFloat(), 0.1);
}

// A statement read again is read into room the size of its last result: every read, larger,
// smaller or empty, still gives exactly its own rows and texts.
void SqlTest::statementReadAgainAtAnySize() {
    Workspace workspace;
    struct Read {
        const char *month;
        QStringList added; // rows added to the month before it is read; amounts in units
        QStringList expected;
    };
    const QList<Read> reads = {
        {"209901", {"1,'张三',1000000"}, {"张三 100"}},
        {"209901",
         {"2,'欧阳长名字的职工',20000", "3,'Li',30000"},
         {"张三 100", "欧阳长名字的职工 2", "Li 3"}},
        {"209902", {}, {}},
        {"209901", {}, {"张三 100", "欧阳长名字的职工 2", "Li 3"}},
        {"209903", {"4,'王',5000"}, {"王 0.5"}},
    };
    Query &query = DM->AQ1;
    statement(query, {"select xm,f1 from GZB where ny=:ny order by ygh"});
    for (const Read &read : reads) {
        for (const QString &row : read.added)
            workspace.exec(QStringLiteral("insert into GZB (ny,ygh,xm,f1) values ('%1',%2)")
                               .arg(read.month, row));
        query.param("ny").setText(read.month);
        query.open();
        QStringList rows;
        for (int row = 0; row < query.recordCount(); ++row)
            rows << query.cell(row, 0).asString() + ' ' +
                        query.cell(row, 1).asCurrency().toPlainText();
        QCOMPARE(rows, read.expected);
        query.close();
    }
}

void SqlTest::floatsBindToNearestUnit_data() {
    QTest::addColumn<double>("bound");
    QTest::addColumn<qint64>("units");
    QTest::newRow("twelve decimals round down") << 1.234512345678 << qint64(12345);
    QTest::newRow("twelve decimals round up") << 1.234567890123 << qint64(12346);
    QTest::newRow("negative") << -12.5 << qint64(-125000);
    QTest::newRow("binary fraction below the half") << 0.29 << qint64(2900);
}

void SqlTest::floatsBindToNearestUnit() {
    QFETCH(double, bound);
    Workspace workspace;
    statement(DM->AQUP, {"insert into GZB (ny,ygh,k7) values ('202612',1,:k7)"});
    DM->AQUP.param("k7").setFloat(bound);
    DM->AQUP.execSql();
    statement(DM->AQ1, {"select k7 from GZB"});
    DM->AQ1.open();
    QFETCH(qint64, units);
    QCOMPARE(qint64(DM->AQ1.field("k7").asCurrency().units()), units);
}

// A number is money only under an amount column's name; any other would be read 10,000 times
// too large or too small.
void SqlTest::onlyAmountColumnsReadAsCurrency_data() {
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("amount"); // empty: reading it as currency is an error

    QTest::newRow("sum named after its column") << "sum(f1) as f1"
                                                << "3.30";
    QTest::newRow("total named as a total") << "sum(f1+f2) as f_h"
                                            << "5.50";
    QTest::newRow("sum without a name") << "sum(f1)"
                                        << "";
    QTest::newRow("sum under another name") << "sum(f1) as total"
                                            << "";
    QTest::newRow("count") << "count(*) as n"
                           << "";
    QTest::newRow("record number") << "max(ygh) as ygh"
                                   << "";
}

void SqlTest::onlyAmountColumnsReadAsCurrency() {
    QFETCH(QString, column);
    QFETCH(QString, amount);
    Workspace workspace;
    workspace.exec("insert into GZB (ny,ygh,f1,f2) values ('202612',1,11000,11000),"
                   "('202612',2,22000,11000)");
    Query &query = DM->AQ1;
    statement(query, {"select " + column + " from GZB"});
    query.open();
    const Field field = query.cell(0, 0);
    if (amount.isEmpty()) {
        QVERIFY_THROWS_EXCEPTION(DbError, field.asCurrency());
        QVERIFY(!field.asString().isEmpty()); // still readable as what it is
    } else {
        QCOMPARE(field.asCurrency().toFixed2(), amount);
    }
}

// A column left unmarked would be read 10,000 times too large, and one marked wrongly (a rate,
// a count of months) 10,000 times too small.
void SqlTest::schemaDeclaresTheAmountColumns_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<bool>("amount");
    const struct {
        const char *table;
        const char *column;
        bool amount;
    } rows[] = {
        {"GZB", "f1", true},       {"GZB", "K20", true},     {"Temp_GZB", "f20", true},
        {"Temp_GZB", "k1", true},  {"GZXMJS", "xx", true},   {"GZXMJS", "sx", true},
        {"GSSLB", "sx", true},     {"GSSLB", "sskcs", true}, {"GSJCFY", "je", true},
        {"YGZXKC", "je", true},    {"YGJS", "sbjs", true},   {"YGJS", "gjjjs", true},
        {"YGJS", "qtkc", true},    {"YGJS", "qcsr", true},   {"YGJS", "qcsqkc", true},
        {"YGJS", "qczxkc", true},  {"YGJS", "qcyjse", true}, {"GZB", "ny", false},
        {"GZB", "ygh", false},     {"GZXMJS", "bl", false},  {"GSSLB", "sl", false},
        {"GZXMJS", "sqkc", false}, {"YGJS", "qcys", false},  {"YGZXKC", "qsny", false},
        {"GZXMZD", "bh", false},   {"GZB", "xx", false}, // an amount's name in another table
    };
    for (const auto &row : rows)
        QTest::addRow("%s.%s", row.table, row.column)
            << QString(row.table) << QString(row.column) << row.amount;
}

void SqlTest::schemaDeclaresTheAmountColumns() {
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(bool, amount);
    QCOMPARE(AmountColumns::current().holdsAmount(table, column), amount);
    if (amount)
        QVERIFY(AmountColumns::current().isAmount(column));
}

void SqlTest::amountDeclarationsAreRead_data() {
    QTest::addColumn<QString>("schema");
    QTest::addColumn<QStringList>("amounts");
    QTest::addColumn<QStringList>("plain");

    QTest::newRow("column of a table") << "CREATE TABLE T (\n"
                                          "    a INTEGER, -- amount\n"
                                          "    b INTEGER,\n"
                                          "    c INTEGER -- amount\n"
                                          ") STRICT;"
                                       << QStringList{"a", "C"} << QStringList{"b", "t"};
    QTest::newRow("column added by a later version")
        << "CREATE TABLE T (\n    a INTEGER\n);\n"
           "-- Version 3\n"
           "ALTER TABLE T ADD COLUMN b INTEGER NOT NULL DEFAULT 0; -- amount\n"
           "ALTER TABLE T ADD c TEXT;"
        << QStringList{"b"} << QStringList{"a", "c"};
    QTest::newRow("computed names") << "-- Computed amounts: s1, s2\n"
                                       "CREATE TABLE T (\n    a INTEGER\n);"
                                    << QStringList{"s1", "s2"} << QStringList{"a", "computed"};
    QTest::newRow("the mark only at the end of a line")
        << "-- A column marked -- amount holds money\n"
           "CREATE TABLE T (\n    a INTEGER, -- amount or not\n    b INTEGER\n);"
        << QStringList{} << QStringList{"a", "b", "holds"};
}

void SqlTest::amountDeclarationsAreRead() {
    QFETCH(QString, schema);
    QFETCH(QStringList, amounts);
    QFETCH(QStringList, plain);
    const AmountColumns columns = AmountColumns::fromSchema(schema);
    for (const QString &name : amounts)
        QVERIFY2(columns.isAmount(name), qPrintable(name));
    for (const QString &name : plain)
        QVERIFY2(!columns.isAmount(name), qPrintable(name));
}

// Read by name, such a column could not be told from the amount.
void SqlTest::contradictoryDeclarationIsRefused() {
    QVERIFY_THROWS_EXCEPTION(DbError, AmountColumns::fromSchema("CREATE TABLE A (\n"
                                                                "    je INTEGER -- amount\n"
                                                                ");\n"
                                                                "CREATE TABLE B (\n"
                                                                "    je INTEGER\n"
                                                                ");"));
}

// A table of the tests' own, declared as the schema declares its amounts: marking the column
// is all it takes to bind and read it as money, exactly, on either engine.
void SqlTest::declaredAmountColumnIsBoundAndReadExactly() {
    Workspace workspace;
    const QString fees = "CREATE TABLE Fees (\n"
                         "    bh bigint,\n"
                         "    fee bigint, -- amount\n"
                         "    note TEXT\n"
                         ")";
    workspace.exec(fees);
    Query &query = DM->AQUP;
    const Currency large = *Currency::fromText(u"98765432101.2345");
    statement(query, {"insert into Fees (bh,fee) values (1,:fee)"});
    QVERIFY_THROWS_EXCEPTION(DbError, query.param("fee").setCurrency(large), query.execSql());
    {
        const ScopedAmountColumns declared(AmountColumns::fromSchema(fees));
        statement(query, {"insert into Fees (bh,fee) values (:bh,:fee)"});
        query.param("bh").setInteger(1);
        query.param("fee").setCurrency(large);
        query.execSql();
        query.param("bh").setInteger(2);
        query.param("fee").setFloat(0.1);
        query.execSql();

        statement(query, {"select fee, fee as stored from Fees order by bh"});
        query.open();
        QCOMPARE(query.field("fee").asCurrency(), large);
        QCOMPARE(query.field("stored").asInteger(), qint64(987654321012345));
        query.next();
        QCOMPARE(query.field("fee").asCurrency().toPlainText(), "0.1");
        QCOMPARE(query.field("stored").asInteger(), qint64(1000));
        query.close();
    }
    statement(query, {"select fee from Fees"});
    query.open();
    QVERIFY_THROWS_EXCEPTION(DbError, query.field("fee").asCurrency());
}

void SqlTest::valuesOfWrongTypeAreRejected() {
    Workspace workspace;
    statement(DM->AQUP, {"insert into YGZD (xm,bmh) values ('张三',:bmh)"});
    DM->AQUP.param("bmh").setText("二");
    QVERIFY_THROWS_EXCEPTION(DbError, DM->AQUP.execSql());
    QCOMPARE(count("select count(*) as n from YGZD"), 0);
}

void SqlTest::missingFileIsAnErrorAndIsNotCreated() {
    SKIP_ON_SERVER();
    Workspace workspace(Workspace::Database::None);
    statement(DM->AQ1, {"select * from BMZD"});
    QVERIFY(!DM->ADC.isConnected());
    try {
        DM->AQ1.open();
        QFAIL("no error");
    } catch (const DbError &error) {
        QCOMPARE(error.text(),
                 QStringLiteral("无法打开数据库文件。\n（unable to open database file）"));
    }
    QVERIFY(!QFile::exists(workspace.databasePath()));
}

// A file made by a newer program has a layout this one does not know: the first statement
// stops before anything is read or written.
void SqlTest::newerLayoutIsRefused() {
    Workspace workspace;
    workspace.exec(testsOnServer()
                       ? QStringLiteral("update gz_layout set version = %1").arg(schemaVersion + 1)
                       : QStringLiteral("pragma user_version = %1").arg(schemaVersion + 1));
    statement(DM->AQUP, {"insert into BMZD (mc) values ('办公室')"});
    try {
        DM->AQUP.execSql();
        QFAIL("no error");
    } catch (const DbError &error) {
        QCOMPARE(error.text(),
                 QStringLiteral("%1 是较新版本的程序建立的（数据库版本 %2，本程序只认识到版本 "
                                "%3），本程序不读也不改它，请使用新版本的程序。")
                     .arg(workspace.address().shownName())
                     .arg(schemaVersion + 1)
                     .arg(schemaVersion));
    }
    QVERIFY(!DM->ADC.isConnected());
}

namespace {

enum class FileUnderTheName {
    Payroll,
    PayrollMadeBeforeMarking,
    Empty,
    Text,
    OtherProgramsDatabase,
    OtherTablesAtVersionOne,
    PayrollTablesAtAnotherVersion,
};

QByteArray contentsOf(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Statements through a plain connection, as another program would run them.
void runPlain(const QString &path, const QStringList &statements) {
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        for (const QString &sql : statements) {
            QSqlQuery query(db);
            QVERIFY2(query.exec(sql), qPrintable(sql));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void replaceWith(const QString &path, const QByteArray &data) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(data), data.size());
}

} // namespace

Q_DECLARE_METATYPE(FileUnderTheName)

// Whatever lies under the name GZDB.mdb, only a payroll is read or written; anything else is
// named as not the system's file and stays byte for byte as it was.
void SqlTest::onlyThisProgramsFilesAreOpened_data() {
    QTest::addColumn<FileUnderTheName>("file");
    QTest::addColumn<bool>("ours");
    QTest::newRow("payroll") << FileUnderTheName::Payroll << true;
    QTest::newRow("payroll made before files were marked")
        << FileUnderTheName::PayrollMadeBeforeMarking << true;
    QTest::newRow("empty file") << FileUnderTheName::Empty << false;
    QTest::newRow("text") << FileUnderTheName::Text << false;
    QTest::newRow("another program's database") << FileUnderTheName::OtherProgramsDatabase << false;
    QTest::newRow("other tables at version 1")
        << FileUnderTheName::OtherTablesAtVersionOne << false;
    QTest::newRow("payroll tables, unmarked, at another version")
        << FileUnderTheName::PayrollTablesAtAnotherVersion << false;
}

void SqlTest::onlyThisProgramsFilesAreOpened() {
    SKIP_ON_SERVER();
    QFETCH(FileUnderTheName, file);
    QFETCH(bool, ours);
    Workspace workspace;
    const QString path = workspace.databasePath();
    switch (file) {
    case FileUnderTheName::Payroll:
        break;
    case FileUnderTheName::PayrollMadeBeforeMarking:
        // Such a file has the first layout: without the later tables.
        workspace.makeFirstLayout();
        break;
    case FileUnderTheName::Empty:
        replaceWith(path, QByteArray());
        break;
    case FileUnderTheName::Text:
        replaceWith(path, QByteArray("部门,姓名\n办公室,张三\n").repeated(500));
        break;
    case FileUnderTheName::OtherProgramsDatabase:
        QVERIFY(QFile::remove(path));
        runPlain(path, {"create table BMZD(x)", "pragma application_id = 1234"});
        break;
    case FileUnderTheName::OtherTablesAtVersionOne:
        QVERIFY(QFile::remove(path));
        runPlain(path, {"create table BMZD(x)", "pragma user_version = 1"});
        break;
    case FileUnderTheName::PayrollTablesAtAnotherVersion:
        runPlain(path, {"pragma application_id = 0", "pragma user_version = 7"});
        break;
    }
    const QByteArray before = contentsOf(path);

    statement(DM->AQUP, {"insert into BMZD (mc) values ('办公室')"});
    try {
        DM->AQUP.execSql();
        QVERIFY2(ours, "no error");
    } catch (const DbError &error) {
        QVERIFY2(!ours, qPrintable(error.text()));
        QCOMPARE(error.text(), QStringLiteral("GZDB.mdb 不是本系统的数据库文件！"));
    }
    if (ours) {
        QCOMPARE(count("select count(*) as n from BMZD"), 1);
        QCOMPARE(count("select application_id as n from pragma_application_id"), payrollFileMark);
    } else {
        QVERIFY(contentsOf(path) == before);
    }
}

void SqlTest::secondProgramMayOpenTheFile() {
    SKIP_ON_SERVER();
    Workspace workspace(Workspace::Database::Demo);
    QVERIFY2(!DM->ADC.isConnected(), "the connection waits for the first statement");
    QCOMPARE(count("select count(*) as n from BMZD"), 4);
    QVERIFY(DM->ADC.isConnected());
    workspace.exec("insert into BMZD (mc) values ('后勤部')");
    QCOMPARE(count("select count(*) as n from BMZD"), 5);
}

// Saving a month relies on it: what was written before a failure is gone again.
void SqlTest::transactionLandsWholeOrNotAtAll_data() {
    QTest::addColumn<QString>("ending");
    QTest::addColumn<int>("rows");
    QTest::newRow("committed") << "commit" << 2;
    QTest::newRow("a statement fails") << "fail" << 0;
    QTest::newRow("left without commit") << "leave" << 0;
}

void SqlTest::transactionLandsWholeOrNotAtAll() {
    QFETCH(QString, ending);
    Workspace workspace;
    try {
        Transaction transaction(DM->ADC);
        statement(DM->AQUP, {"insert into GZB (ny,ygh) values ('202612',1),('202612',2)"});
        DM->AQUP.execSql();
        if (ending == "fail") {
            statement(DM->AQUP, {"insert into GZB (ny,ygh) values ('202612',1)"});
            DM->AQUP.execSql(); // the unique month and employee
        }
        if (ending == "commit")
            transaction.commit();
    } catch (const DbError &) {
        QCOMPARE(ending, "fail");
    }
    QTEST(count("select count(*) as n from GZB"), "rows");
}

void SqlTest::batchedWritesLandOrReportTheirRefusal_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("repeated"); // the row whose key is written twice, or -1
    QTest::addColumn<int>("stored");

    QTest::newRow("more rows than go out at once") << 1203 << -1 << 1203;
    QTest::newRow("a refusal among them") << 1203 << 700 << 0;
    QTest::newRow("the last refused") << 10 << 9 << 0;
}

// Writes sent together land as if sent one by one; a refusal anywhere among them fails the
// batch, and its transaction keeps nothing.
void SqlTest::batchedWritesLandOrReportTheirRefusal() {
    QFETCH(int, rows);
    QFETCH(int, repeated);
    QFETCH(int, stored);
    Workspace workspace;
    try {
        Transaction transaction(DM->ADC);
        WriteBatch batch(DM->ADC);
        statement(DM->AQUP, {"insert into GZB (ny,ygh,f1) values ('202612',:ygh,:f1)"});
        for (int row = 0; row < rows; ++row) {
            DM->AQUP.param("ygh").setInteger(row == repeated ? 0 : row);
            DM->AQUP.param("f1").setCurrency(Currency::fromUnits(row * 10001));
            DM->AQUP.execSql();
        }
        batch.finish();
        transaction.commit();
        QCOMPARE(repeated, -1);
    } catch (const DbError &refusal) {
        QVERIFY2(repeated >= 0, qPrintable(refusal.text()));
    }
    QCOMPARE(count("select count(*) as n from GZB"), stored);
    if (stored > 0)
        QCOMPARE(count("select sum(f1) / 10001 as n from GZB"), rows * (rows - 1) / 2);
}

// A statement written with the fragments an engine is asked for means the same on either.
void SqlTest::fragmentsReadAlikeOnEitherEngine() {
    Workspace workspace;
    Query &query = DM->AQ2;
    statement(query, {"create temp table numbered (bh " + query.fragment(SqlFragment::NumberedKey) +
                      ", mc text)"});
    query.execSql();
    QStringList keys;
    for (const QString name : {"ABc", "abd", "xab"}) {
        statement(query, {"insert into numbered (mc) values (:mc) returning bh"});
        query.param("mc").setText(name);
        query.open();
        keys << query.field("bh").asString();
    }
    QCOMPARE(keys, (QStringList{"1", "2", "3"}));
    QCOMPARE(count("select count(*) as n from numbered where mc " +
                   DM->AQ1.fragment(SqlFragment::CaseBlindLike) + " 'ab%'"),
             2);

    statement(query, {"select mc from (select '销售部' as mc union all select '办公室' union all "
                      "select '财务科') as names order by mc collate " +
                      query.fragment(SqlFragment::PinyinCollation)});
    query.open();
    QStringList names;
    for (query.first(); !query.eof(); query.next())
        names << query.field("mc").asString();
    QCOMPARE(names, (QStringList{"办公室", "财务科", "销售部"}));
}

// Names sort as a Chinese clerk looks them up, by pinyin, in every list of the program; the
// statements say only "order by".
void SqlTest::namesSortInPinyinOrder_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("order");

    QTest::newRow("departments") << "select mc from BMZD order by mc"
                                 << "办公室,财务科,技术部,销售部";
    QTest::newRow("employees by name")
        << "select xm from YGZD where xm like '%丽%' or xm like '王%' or xm like '张%' "
           "order by xm"
        << "刘丽华,孙丽,王志强,张建国";
    QTest::newRow("employees by position, joined")
        << "select distinct a.zw from YGZD as a,BMZD as b where a.bmh=b.bh and b.mc='办公室' "
           "order by a.zw"
        << "档案管理员,文员,主任";
    QTest::newRow("pay slips by department") << "select distinct bmmc from GZB order by bmmc"
                                             << "办公室,财务科,技术部,销售部";
    QTest::newRow("sex") << "select distinct xb from GZB order by xb"
                         << "男,女";
    QTest::newRow("Chinese before Latin letters, whose case is ignored as before")
        << "select mc from (select 'B' as mc union all select 'a' union all select '办') "
           "order by mc collate nocase"
        << "办,a,B";
}

void SqlTest::namesSortInPinyinOrder() {
    QFETCH(QString, sql);
    Workspace workspace(Workspace::Database::Demo);
    Query &query = DM->AQ1;
    statement(query, {sql});
    query.open();
    QStringList names;
    for (; !query.eof(); query.next())
        names << query.cell(query.currentRow(), 0).asString();
    QTEST(names.join(','), "order");
}

// The file needs nothing of the program: plain SQLite opens it and runs the same statements,
// finding the same texts equal and sorting them by code point.
void SqlTest::plainSqliteReadsTheFile() {
    SKIP_ON_SERVER();
    Workspace workspace(Workspace::Database::Demo);
    workspace.exec("insert into BMZD (mc) values ('IT'),('it')");
    {
        QSqlDatabase plain = QSqlDatabase::addDatabase("QSQLITE", "plain");
        plain.setDatabaseName(workspace.databasePath());
        QVERIFY(plain.open());
        QSqlQuery query(plain);
        QVERIFY(query.exec("select group_concat(mc) from (select mc from BMZD where bh<=4 "
                           "order by mc)"));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toString(), "办公室,技术部,财务科,销售部");
        QVERIFY(query.exec("select count(*) from BMZD where mc='It'"));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toInt(), 2);
    }
    QSqlDatabase::removeDatabase("plain");
    QCOMPARE(count("select count(*) as n from BMZD where mc='It'"), 2);
}

void SqlTest::salaryColumnLines() {
    using namespace SalaryColumns;
    QCOMPARE(rowTotalLines(), QStringList(std::begin(totals), std::end(totals)));
    const QStringList group = groupTotalLines();
    QCOMPARE(group.size(), 3);
    QCOMPARE(group[0], "sum" + totals[0]);
    QCOMPARE(group[1], "sum" + totals[1]);
    QCOMPARE(group[2], "sum(" + totals[2].chopped(6) + ") as sf");
    const QStringList sums = columnSumLines();
    QCOMPARE(sums.size(), 8);
    QCOMPARE(sums.first(),
             "sum(f1) as f1,sum(f2) as f2,sum(f3) as f3,sum(f4) as f4,sum(f5) as f5,");
    QCOMPARE(sums.last(),
             "sum(k16) as k16,sum(k17) as k17,sum(k18) as k18,sum(k19) as k19,sum(k20) as k20,");
    QCOMPARE(itemColumn(earning, 3), "f3");
    QCOMPARE(itemColumn(deduction, 20), "k20");
    for (const QString &total : totalColumns) // computed, so declared apart from the columns
        QVERIFY2(AmountColumns::current().isAmount(total), qPrintable(total));
}

QTEST_GUILESS_MAIN(SqlTest)
#include "test_sql.moc"
