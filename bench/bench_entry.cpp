// How the salary entry window holds up with 10,000 employees and ten items: preparing each
// kind of month and saving it, each through the window's own buttons. Run by hand, never by
// CTest:
//   cmake --build build --target bench_entry && QT_QPA_PLATFORM=offscreen build/bench/bench_entry
// Each line reports, for one month, one press each of the prepare button, F1 and the save
// button, from the press to the window being ready again; the last the status evaluation.
#include "data.h"
#include "flatbutton.h"
#include "gzlr.h"
#include "modulerun.h"
#include "spinedit.h"
#include "transaction.h"
#include "workspace.h"

#include <QElapsedTimer>
#include <QTest>

namespace {

constexpr int employees = 10000;

void statement(Query &query, const QString &sql) {
    query.clearSql();
    query.addLine(sql);
}

// Departments, items half carried, and the employees, all active.
void addStaff() {
    Transaction transaction(DM->ADC);
    for (int department = 1; department <= 20; ++department) {
        statement(DM->AQUP,
                  QStringLiteral("insert into BMZD (mc) values ('部门%1')").arg(department));
        DM->AQUP.execSql();
    }
    for (int item = 1; item <= 10; ++item) {
        statement(DM->AQUP, QStringLiteral("insert into GZXMZD (mc,S_JC,S_FK) values "
                                           "('项目%1',%2,'%3')")
                                .arg(item)
                                .arg(item % 2)
                                .arg(item <= 6 ? 0 : 1));
        DM->AQUP.execSql();
    }
    statement(DM->AQUP, "insert into YGZD (xm,xb,csrq,gzrq,bmh,zw) values "
                        "(:xm,'男','1980- 1- 1','2000- 1- 1',:bmh,'职员')");
    for (int employee = 1; employee <= employees; ++employee) {
        DM->AQUP.param("xm").setText(QStringLiteral("职工%1").arg(employee));
        DM->AQUP.param("bmh").setInteger(employee % 20 + 1);
        DM->AQUP.execSql();
    }
    transaction.commit();
}

template <typename Action> qint64 timed(Action action) {
    QElapsedTimer timer;
    timer.start();
    action();
    return timer.elapsed();
}

} // namespace

class EntryBenchmark : public QObject {
    Q_OBJECT
private slots:
    void prepareAndSave();
};

void EntryBenchmark::prepareAndSave() {
    Workspace workspace;
    addStaff();
    runModule<Tfrm_gzlr>(std::function<void(Tfrm_gzlr &)>([&](Tfrm_gzlr &window) {
        window.e_n->setValue(2026);
        const auto month = [&](int value, const char *what) {
            window.e_y->setValue(value);
            const qint64 prepare = timed([&] { window.b_o->click(); });
            QCOMPARE(DM->AQ2.recordCount(), employees);
            // F1 stores one employee and reads the whole list again.
            const qint64 store = timed([&] { QTest::keyClick(&window, Qt::Key_F1); });
            QCOMPARE(DM->AQ2.currentRow(), 1);
            const qint64 save = timed([&] { window.b_s->click(); });
            qInfo("%s: preparing %lld ms, F1 %lld ms, saving %lld ms", what, prepare, store, save);
        };
        month(1, "first use (10,000 new rows)");
        month(2, "month not entered (10,000 carried rows)");
        month(2, "month entered (10,000 copied, replaced on saving)");
        // Every keystroke in a month box reads the chosen month to tell its status.
        const qint64 status = timed([&] { window.e_y->setValue(1); });
        qInfo("status of an entered month: %lld ms", status);
    }));
    QVERIFY(workspace.shownMessages().isEmpty());
}

QTEST_MAIN(EntryBenchmark)
#include "bench_entry.moc"
