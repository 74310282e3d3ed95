// The salary statistics window on a real database: totals per month and per employee with
// their statement, the two grids sharing one place, changes emptying the result, and the two
// reports with titles naming the range.
#include "dbgrid.h"
#include "flatbutton.h"
#include "fonts.h"
#include "gztj.h"
#include "modulerun.h"
#include "pdftext.h"
#include "previewdriver.h"
#include "salarycolumns.h"
#include "spinedit.h"
#include "workspace.h"

#include <QRadioButton>
#include <QTest>

namespace {

// January and March 2005 stored, February not; employee 2 renamed in March; employee 3 paid
// only in 2006.
void addSalaries(Workspace &workspace) {
    workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values ('基本工资',1,'0'),('个税',0,'1')");
    workspace.exec("insert into GZB (ny,ygh,xm,f1,k1) values "
                   "('200501',1,'张建国',10000000,1000000),('200501',2,'李秀英',20000000,0),"
                   "('200503',1,'张建国',10000000,1000000),('200503',2,'李秀英改',20000000,0),"
                   "('200601',3,'王志强',5000000,0)");
}

void setRange(Tfrm_gztj &window, int fromYear, int fromMonth, int toYear, int toMonth) {
    window.e_n->setValue(fromYear);
    window.e_y->setValue(fromMonth);
    window.e_n1->setValue(toYear);
    window.e_y1->setValue(toMonth);
}

// Each result row as "keys: f1 k1 f_h k_h sf".
QStringList resultRows(bool perMonth) {
    QStringList rows;
    if (!DM->AQ1.isOpen())
        return rows;
    for (int row = 0; row < DM->AQ1.recordCount(); ++row) {
        QString text = perMonth ? DM->AQ1.fieldAt(row, "ny").asString()
                                : DM->AQ1.fieldAt(row, "ygh").asString() + ' ' +
                                      DM->AQ1.fieldAt(row, "xm").asString();
        text += ':';
        for (const char *field : {"f1", "k1", "f_h", "k_h", "sf"})
            text += ' ' + DM->AQ1.fieldAt(row, field).asCurrency().toFixed2();
        rows << text;
    }
    return rows;
}

QString statement(bool perMonth) {
    QStringList lines{perMonth ? "select ny," : "select ygh,xm,"};
    lines << SalaryColumns::columnSumLines() << SalaryColumns::groupTotalLines() << "from GZB "
          << "where (ny between :ny and :ny1) " << (perMonth ? "group by ny " : "group by ygh,xm ")
          << (perMonth ? "order by ny " : "order by ygh ");
    return lines.join('\n') + '\n';
}

} // namespace

class SalaryStatisticsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutes(); }
    void totalsTheRange_data();
    void totalsTheRange();
    void gridsShareOnePlace();
    void changesEmptyTheResult_data();
    void changesEmptyTheResult();
    void reportCarriesTheRangeInItsTitle_data();
    void reportCarriesTheRangeInItsTitle();
};

void SalaryStatisticsTest::totalsTheRange_data() {
    QTest::addColumn<bool>("perMonth");
    QTest::addColumn<int>("toMonth"); // of 2005, from January
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("per month, a month without salaries left out")
        << true << 3
        << QStringList{"200501: 3000.00 100.00 3000.00 100.00 2900.00",
                       "200503: 3000.00 100.00 3000.00 100.00 2900.00"};
    QTest::newRow("per employee, by number and name")
        << false << 12
        << QStringList{"1 张建国: 2000.00 200.00 2000.00 200.00 1800.00",
                       "2 李秀英: 2000.00 0.00 2000.00 0.00 2000.00",
                       "2 李秀英改: 2000.00 0.00 2000.00 0.00 2000.00"};
    QTest::newRow("nothing stored in the range") << true << 0 << QStringList{};
}

void SalaryStatisticsTest::totalsTheRange() {
    QFETCH(bool, perMonth);
    QFETCH(int, toMonth);
    QFETCH(QStringList, rows);
    Workspace workspace;
    addSalaries(workspace);
    int shownRows = -1;
    runModule<Tfrm_gztj>([&](Tfrm_gztj &window) {
        // A last month before the first finds nothing.
        toMonth ? setRange(window, 2005, 1, 2005, toMonth) : setRange(window, 2005, 3, 2005, 1);
        (perMonth ? window.r_1 : window.r_2)->click();
        window.SpeedButton1->click();
        shownRows = (perMonth ? window.RxDBGrid2 : window.RxDBGrid1)->model()->rowCount();
    });
    QCOMPARE(DM->AQ1.sqlText(), statement(perMonth));
    QCOMPARE(resultRows(perMonth), rows);
    QCOMPARE(shownRows, rows.size());
    QCOMPARE(workspace.shownTexts(), rows.isEmpty() ? QStringList{"统计无数据！"} : QStringList{});
}

void SalaryStatisticsTest::gridsShareOnePlace() {
    Workspace workspace;
    addSalaries(workspace);
    runModule<Tfrm_gztj>([&](Tfrm_gztj &window) {
        QCOMPARE(window.RxDBGrid1->geometry(), window.RxDBGrid2->geometry());
        const QPoint middle = window.RxDBGrid2->geometry().center();
        QVERIFY(window.RxDBGrid2->isAncestorOf(window.childAt(middle)));

        setRange(window, 2005, 1, 2005, 12);
        window.r_2->click();
        window.SpeedButton1->click();
        QVERIFY(window.RxDBGrid1->isVisible());
        QVERIFY(!window.RxDBGrid2->isVisible());
        QCOMPARE(window.RxDBGrid1->model()->rowCount(), 3);

        // The other mode empties the grid but shows the same one until the next computation.
        window.r_1->click();
        QVERIFY(window.RxDBGrid1->isVisible());
        QCOMPARE(window.RxDBGrid1->model()->rowCount(), 0);
        window.SpeedButton1->click();
        QVERIFY(window.RxDBGrid2->isVisible());
        QVERIFY(!window.RxDBGrid1->isVisible());
        QCOMPARE(window.RxDBGrid2->model()->rowCount(), 2);
    });
}

void SalaryStatisticsTest::changesEmptyTheResult_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("value"); // a spin box's new value
    QTest::newRow("first year") << "e_n" << 2006;
    QTest::newRow("first month") << "e_y" << 2;
    QTest::newRow("last year") << "e_n1" << 2006;
    QTest::newRow("last month") << "e_y1" << 11;
    QTest::newRow("per month again") << "r_1" << 0;
    QTest::newRow("per employee") << "r_2" << 0;
}

void SalaryStatisticsTest::changesEmptyTheResult() {
    QFETCH(QString, control);
    QFETCH(int, value);
    Workspace workspace;
    addSalaries(workspace);
    PreviewDriver driver;
    runModule<Tfrm_gztj>([&](Tfrm_gztj &window) {
        setRange(window, 2005, 1, 2005, 12);
        window.SpeedButton1->click();
        QVERIFY(DM->AQ1.isOpen());
        if (auto *box = window.findChild<SpinEdit *>(control))
            box->setValue(value);
        else
            window.findChild<QRadioButton *>(control)->click();
        QCOMPARE(window.RxDBGrid2->model()->rowCount(), 0);
        window.SpeedButton8->click();
    });
    QVERIFY(!DM->AQ1.isOpen());
    QCOMPARE(driver.shown(), 0);
}

void SalaryStatisticsTest::reportCarriesTheRangeInItsTitle_data() {
    QTest::addColumn<bool>("perMonth");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("firstRow"); // as the report prints it
    QTest::newRow("per month") << true << "月工资统计表[2005年1月 至 2005年12月]"
                               << "月工资统计表_2005年1月至2005年12月.pdf"
                               << "200501 3000.00 3000.00 100.00 100.00 2900.00";
    QTest::newRow("per employee") << false << "员工工资统计表[2005年1月 至 2005年12月]"
                                  << "员工工资统计表_2005年1月至2005年12月.pdf"
                                  << "1 张建国 2000.00 2000.00 200.00 200.00 1800.00";
}

void SalaryStatisticsTest::reportCarriesTheRangeInItsTitle() {
    QFETCH(bool, perMonth);
    QFETCH(QString, title);
    QFETCH(QString, file);
    QFETCH(QString, firstRow);
    Workspace workspace;
    addSalaries(workspace);
    const QString path = workspace.path() + "/statistics.pdf";
    QString suggested;
    PreviewDriver driver(
        [&](PreviewDialog &preview) { suggested = PreviewDriver::save(preview, "导出PDF", path); });
    QString monthTitle, employeeTitle;
    runModule<Tfrm_gztj>([&](Tfrm_gztj &window) {
        setRange(window, 2005, 1, 2005, 12);
        (perMonth ? window.r_1 : window.r_2)->click();
        window.SpeedButton1->click();
        window.SpeedButton8->click();
        monthTitle = window.QuickRep1.title;
        employeeTitle = window.QuickRep2.title;
    });
    QCOMPARE(driver.shown(), 1);
    QCOMPARE(monthTitle, QStringLiteral("月工资统计表[2005年1月 至 2005年12月]"));
    QCOMPARE(employeeTitle, QStringLiteral("员工工资统计表[2005年1月 至 2005年12月]"));
    QCOMPARE(suggested, file);
    const QString text = pdfText(path);
    QVERIFY2(text.contains(title), qPrintable(text));
    QVERIFY2(text.simplified().contains(firstRow), qPrintable(text));
    // Totals of every row: 6000 earned, 200 deducted.
    QVERIFY2(text.simplified().contains("6000.00 6000.00 200.00 200.00 5800.00"), qPrintable(text));
}

QTEST_MAIN(SalaryStatisticsTest)
#include "test_gztj.moc"
