// The pay slip window on a real database: the month's statement, the message for a month
// without salaries, and the preview of the slips, saved through its own action and read back.
#include "fonts.h"
#include "gzt.h"
#include "modulerun.h"
#include "pdftext.h"
#include "previewdriver.h"
#include "salarycolumns.h"
#include "spinedit.h"
#include "workspace.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

// Three departments in November 2026, one slip in January 2005, and October 2026 only in the
// worksheet.
void addSalaries(Workspace &workspace) {
    workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values ('基本工资',1,'0'),('个税',0,'1')");
    workspace.exec("insert into GZB (ny,ygh,xm,bmmc,f1,k1) values "
                   "('202611',1,'周伟','销售部',76000000,1000000),"
                   "('202611',2,'李秀英','办公室',46000000,0),"
                   "('202611',3,'王志强','财务科',72000000,2500000),"
                   "('200501',4,'孙丽','办公室',48000000,0)");
    workspace.exec("insert into Temp_GZB (ny,ygh,xm,bmmc) values ('202610',1,'周伟','销售部')");
}

} // namespace

class PaySlipTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutes(); }
    void previewsTheSlipsOfTheChosenMonth_data();
    void previewsTheSlipsOfTheChosenMonth();
    void slipsComeDepartmentByDepartment();
    void slipsOfOneDepartmentComeByNumber();
    void monthBoxesTypeInTheCaptionsFace();
};

void PaySlipTest::previewsTheSlipsOfTheChosenMonth_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("slips");
    QTest::newRow("a month of three departments") << 2026 << 11 << 3;
    QTest::newRow("the first month there can be") << 2005 << 1 << 1;
    QTest::newRow("a month not entered") << 2026 << 12 << 0;
    QTest::newRow("a month only in the worksheet") << 2026 << 10 << 0;
}

void PaySlipTest::previewsTheSlipsOfTheChosenMonth() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, slips);
    Workspace workspace;
    addSalaries(workspace);
    bool handlerReturned = false;
    bool previewWaitedFor = false;
    int pages = 0;
    PreviewDriver driver([&](PreviewDialog &preview) {
        previewWaitedFor = !handlerReturned;
        pages = PreviewDriver::pageCount(preview);
    });
    runModule<Tfrm_gzt>([&](Tfrm_gzt &window) {
        window.e_n->setValue(year);
        window.e_y->setValue(month);
        window.SpeedButton8->click();
        handlerReturned = true;
    });
    if (slips == 0) {
        QCOMPARE(workspace.shownTexts(), QStringList{"本月未填工资！"});
        QCOMPARE(workspace.shownMessages().first().kind, Messages::Kind::Information);
        QCOMPARE(driver.shown(), 0);
        return;
    }
    QVERIFY(workspace.shownTexts().isEmpty());
    QCOMPARE(driver.shown(), 1);
    QVERIFY(previewWaitedFor);
    QCOMPARE(pages, 1);
    QCOMPARE(DM->AQ1.recordCount(), slips);
    QCOMPARE(DM->AQ1.field("ny").asString(),
             QStringLiteral("%1%2").arg(year).arg(month, 2, 10, QChar('0')));
}

void PaySlipTest::slipsComeDepartmentByDepartment() {
    Workspace workspace;
    addSalaries(workspace);
    const QString path = workspace.path() + "/slips.pdf";
    QString suggested;
    PreviewDriver driver(
        [&](PreviewDialog &preview) { suggested = PreviewDriver::save(preview, "导出PDF", path); });
    runModule<Tfrm_gzt>([&](Tfrm_gzt &window) {
        window.e_n->setValue(2026);
        window.e_y->setValue(11);
        window.SpeedButton8->click();
    });
    QStringList statement{"select *,"};
    statement << SalaryColumns::rowTotalLines() << "from GZB where ny=:ny order by bmmc";
    QCOMPARE(DM->AQ1.sqlText(), statement.join('\n') + '\n');
    QCOMPARE(suggested, QStringLiteral("工资条_202611.pdf"));

    // Each slip repeats the captions; 办公室, 财务科, 销售部 is the departments' order.
    const QString text = pdfText(path);
    QCOMPARE(text.count("基本工资"), 3);
    const qsizetype office = text.indexOf("李秀英");
    const qsizetype finance = text.indexOf("王志强");
    const qsizetype sales = text.indexOf("周伟");
    QVERIFY2(office >= 0 && office < finance && finance < sales, qPrintable(text));
    QVERIFY2(text.contains("7200.00") && text.contains("6950.00"), qPrintable(text));
}

// Two departments' employees entered alternately and in no order of number: within each
// department the slips come by number, also where the engine's sort would mix them.
void PaySlipTest::slipsOfOneDepartmentComeByNumber() {
    Workspace workspace;
    QStringList rows;
    for (int number = 20; number >= 1; --number)
        rows << QStringLiteral("('202611',%1,'员工','%2')")
                    .arg(number)
                    .arg(number % 2 ? "办公室" : "销售部");
    workspace.exec("insert into GZB (ny,ygh,xm,bmmc) values " + rows.join(','));
    PreviewDriver driver;
    runModule<Tfrm_gzt>([&](Tfrm_gzt &window) {
        window.e_n->setValue(2026);
        window.e_y->setValue(11);
        window.SpeedButton8->click();
    });
    QCOMPARE(driver.shown(), 1);
    QList<qint64> shown;
    for (int row = 0; row < DM->AQ1.recordCount(); ++row)
        shown << DM->AQ1.fieldAt(row, "ygh").asInteger();
    QList<qint64> expected;
    for (const int first : {1, 2}) // 办公室 before 销售部
        for (int number = first; number <= 20; number += 2)
            expected << number;
    QCOMPARE(shown, expected);
}

// The boxes' digits are drawn by the line edit inside each box; a font set on the box but not
// reaching that line edit would draw them in the application's sans face. (The kai face's own
// digits, emboldened, are plain upright figures: that is this face, not a fallback.)
void PaySlipTest::monthBoxesTypeInTheCaptionsFace() {
    Workspace workspace;
    runModule<Tfrm_gzt>([&](Tfrm_gzt &window) {
        const QFontInfo caption(window.Label1->font());
        QVERIFY2(caption.family().startsWith("AR PL UKai"), qPrintable(caption.family()));
        QVERIFY(caption.bold());
        for (SpinEdit *box : {window.e_n, window.e_y}) {
            const auto *typed = box->findChild<QLineEdit *>();
            QVERIFY(typed);
            const QFontInfo drawn(typed->font());
            QCOMPARE(drawn.family(), caption.family());
            QCOMPARE(drawn.bold(), caption.bold());
            QCOMPARE(drawn.pixelSize(), caption.pixelSize());
        }
    });
}

QTEST_MAIN(PaySlipTest)
#include "test_gzt.moc"
