// How the data layer holds up with a large payroll: 3,000 employees over 20 years of months
// (720,000 salary rows). Run by hand, never by CTest:
//   cmake --build build --target bench_query && build/bench/bench_query
// Each line reports the time of one operation; the memory line reports what a whole year of
// rows costs once read into a result.
#include "data.h"
#include "monthkey.h"
#include "transaction.h"
#include "workspace.h"

#include <QTest>
#include <malloc.h>

namespace {

constexpr int employees = 3000;
constexpr int years = 20;

const QString totals = QStringLiteral(
    "(f1+f2+f3+f4+f5+f6+f7+f8+f9+f10+f11+f12+f13+f14+f15+f16+f17+f18+f19+f20) as f_h,"
    "(k1+k2+k3+k4+k5+k6+k7+k8+k9+k10+k11+k12+k13+k14+k15+k16+k17+k18+k19+k20) as k_h");

void statement(Query &query, const QString &sql) {
    query.clearSql();
    query.addLine(sql);
}

std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd; // large blocks are mapped, outside the arena
}

} // namespace

class QueryBenchmark : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { m_workspace.reset(); }
    void storeOneMonth();
    void openOneMonth();
    void walkOneMonth();
    void latestMonth();
    void statisticsPerMonth();
    void memoryOfAYear();

private:
    std::unique_ptr<Workspace> m_workspace;
};

// Fills the file once, through the shared queries and one transaction, as a save would.
void QueryBenchmark::initTestCase() {
    m_workspace = std::make_unique<Workspace>();
    Query &insert = DM->AQUP;
    Transaction transaction(DM->ADC);
    statement(insert, "insert into GZB (ny,ygh,xm,bmmc,f1,f2,f3,k1,k2) values "
                      "(:ny,:ygh,:xm,:bmmc,:f1,:f2,:f3,:k1,:k2)");
    QElapsedTimer timer;
    timer.start();
    for (int year = 2005; year < 2005 + years; ++year)
        for (int month = 1; month <= 12; ++month)
            for (int employee = 1; employee <= employees; ++employee) {
                insert.param("ny").setText(monthKey(year, month));
                insert.param("ygh").setInteger(employee);
                insert.param("xm").setText(QStringLiteral("职工%1").arg(employee));
                insert.param("bmmc").setText(QStringLiteral("部门%1").arg(employee % 20));
                insert.param("f1").setFloat(5000 + employee % 997 + 0.5);
                insert.param("f2").setFloat(800.25);
                insert.param("f3").setFloat(month * 10.1);
                insert.param("k1").setFloat(400.4);
                insert.param("k2").setFloat(99.99);
                insert.execSql();
            }
    transaction.commit();
    qInfo("filled %d rows in %lld ms", employees * 12 * years, timer.elapsed());
}

void QueryBenchmark::storeOneMonth() {
    QBENCHMARK {
        Transaction transaction(DM->ADC);
        statement(DM->AQ1, "delete from temp_gzb");
        DM->AQ1.execSql();
        statement(DM->AQ1, "insert into temp_gzb select * from GZB where ny='201506'");
        DM->AQ1.execSql();
        statement(DM->AQ1, "delete from GZB where ny='201506'");
        DM->AQ1.execSql();
        statement(DM->AQ1, "insert into gzb select * from temp_gzb");
        DM->AQ1.execSql();
        transaction.commit();
    }
}

void QueryBenchmark::openOneMonth() {
    Query &query = DM->AQ1;
    statement(query, "select *," + totals + " from GZB where ny=:ny order by bmmc");
    query.param("ny").setText("201506");
    QBENCHMARK {
        query.open();
    }
    QCOMPARE(query.recordCount(), employees);
}

void QueryBenchmark::walkOneMonth() {
    Query &query = DM->AQ1;
    statement(query, "select *," + totals + " from GZB where ny='201506'");
    query.open();
    Currency sum;
    QBENCHMARK {
        sum = {};
        for (query.first(); !query.eof(); query.next())
            sum += query.field("f_h").asCurrency();
    }
    QVERIFY(sum > Currency());
}

void QueryBenchmark::latestMonth() {
    statement(DM->AQ1, "select max(ny) as ny from GZB  ");
    QBENCHMARK {
        DM->AQ1.open();
    }
    QCOMPARE(DM->AQ1.field("ny").asString(), monthKey(2005 + years - 1, 12));
}

void QueryBenchmark::statisticsPerMonth() {
    Query &query = DM->AQ1;
    statement(query, "select ny, sum(f1+f2+f3) as f_h, sum(k1+k2) as k_h from GZB where (ny "
                     "between '200501' and '202412') group by ny ");
    QBENCHMARK {
        query.open();
    }
    QCOMPARE(query.recordCount(), 12 * years);
}

void QueryBenchmark::memoryOfAYear() {
    Query &query = DM->AQ1;
    statement(query, "select * from GZB where ny like '2015%'");
    query.close();
    const std::size_t before = heapInUse();
    query.open();
    const std::size_t after = heapInUse();
    const double cells = double(query.recordCount()) * query.columnCount();
    qInfo("%d rows x %d columns held in %.1f MiB (%.1f bytes a cell)", query.recordCount(),
          query.columnCount(), double(after - before) / (1024 * 1024),
          double(after - before) / cells);
}

QTEST_GUILESS_MAIN(QueryBenchmark)
#include "bench_query.moc"
