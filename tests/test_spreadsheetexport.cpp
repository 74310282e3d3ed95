// Every report saved as a spreadsheet from its preview, read back by an independent reader:
// the sheet's layout, amounts as exact numbers, totals as formulas, and no half-written file
// when the file cannot be written.
#include "filesizelimit.h"
#include "fonts.h"
#include "gzt.h"
#include "gztj.h"
#include "modulerun.h"
#include "previewdriver.h"
#include "sheetreader.h"
#include "sjcx.h"
#include "spinedit.h"
#include "workspace.h"

#include <QJsonObject>
#include <QRadioButton>
#include <QTest>
#include <optional>

namespace {

enum class Report { PaySlips, Query, MonthStatistics, EmployeeStatistics };

// Amounts a float sum would get wrong: 0.1 + 0.2, and 1.005 + 2 (ten-thousandths stored).
void addSalaries(const Workspace &workspace) {
    workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values "
                   "('基本工资',1,'0'),('个税',0,'1'),('奖金',0,'0')");
    workspace.exec("insert into GZB (ny,ygh,xm,bmmc,zw,f1,f2,k1) values "
                   "('202603',1,'张三','办公室','主任',1000,10050,0),"
                   "('202603',2,'李四','财务科','会计',2000,20000,5000),"
                   "('202604',1,'张三','办公室','主任',30000,0,0)");
}

void setRange(SpinEdit *fromYear, SpinEdit *fromMonth, SpinEdit *toYear, SpinEdit *toMonth) {
    fromYear->setValue(2026);
    fromMonth->setValue(3);
    toYear->setValue(2026);
    toMonth->setValue(4);
}

// Opens the report's window, asks for March 2026 (to April for the ranges), and previews.
void previewReport(Report report) {
    switch (report) {
    case Report::PaySlips:
        runModule<Tfrm_gzt>([](Tfrm_gzt &window) {
            window.e_n->setValue(2026);
            window.e_y->setValue(3);
            window.SpeedButton8->click();
        });
        break;
    case Report::Query:
        runModule<Tfrm_sjcx>([](Tfrm_sjcx &window) {
            setRange(window.e_n, window.e_y, window.e_n1, window.e_y1);
            window.SpeedButton1->click();
            window.SpeedButton8->click();
        });
        break;
    case Report::MonthStatistics:
    case Report::EmployeeStatistics:
        runModule<Tfrm_gztj>([report](Tfrm_gztj &window) {
            setRange(window.e_n, window.e_y, window.e_n1, window.e_y1);
            (report == Report::MonthStatistics ? window.r_1 : window.r_2)->click();
            window.SpeedButton1->click();
            window.SpeedButton8->click();
        });
        break;
    }
}

QJsonObject cell(const QJsonArray &sheet, int row, int column) {
    return sheet.at(row).toArray().at(column).toObject();
}

// As the sheet shows them: a formula by its cached figure.
QStringList rowTexts(const QJsonArray &sheet, int row) {
    QStringList texts;
    for (const QJsonValue &value : sheet.at(row).toArray()) {
        const QJsonValue shown = value["t"] == QStringLiteral("f") ? value["cached"] : value["v"];
        texts << (shown.isDouble() ? QString::number(shown.toDouble()) : shown.toString());
    }
    return texts;
}

const QStringList amountCaptions{"基本工资", "奖金", "应付合计", "个税", "扣款合计", "实发工资"};

} // namespace

class SpreadsheetExportTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutes(); }
    void everyReportReadsBackAsPreviewed_data();
    void everyReportReadsBackAsPreviewed();
    void rowTotalsAreFormulasOverTheirRow_data();
    void rowTotalsAreFormulasOverTheirRow();
    void unwritableFileIsReportedAndLeavesNothing_data();
    void unwritableFileIsReportedAndLeavesNothing();
};

void SpreadsheetExportTest::everyReportReadsBackAsPreviewed_data() {
    QTest::addColumn<int>("report");
    QTest::addColumn<QString>("suggested");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("fixedCaptions");
    QTest::addColumn<QString>("fixedTypes"); // openpyxl's letter per fixed column
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("firstRow"); // texts, and amounts as numbers
    QTest::addColumn<bool>("totals");

    QTest::newRow("pay slips") << int(Report::PaySlips) << "工资条_202603.xlsx"
                               << "工资条" << QStringList{"月份", "编号", "姓名"} << "sns" << 2
                               << QStringList{"202603", "1", "张三", "0.1",  "1.005",
                                              "1.105",  "0", "0",    "1.105"}
                               << false;
    QTest::newRow("query") << int(Report::Query) << "数据查询_2026年3月至2026年4月.xlsx"
                           << "数 据 查 询 结 果" << QStringList{"月份", "编号", "姓名"} << "sns"
                           << 3 << QStringList{"202603", "1", "张三", "0.1",  "1.005",
                                               "1.105",  "0", "0",    "1.105"}
                           << true;
    QTest::newRow("month statistics")
        << int(Report::MonthStatistics) << "月工资统计表_2026年3月至2026年4月.xlsx"
        << "月工资统计表[2026年3月 至 2026年4月]" << QStringList{"年月"} << "s" << 2
        << QStringList{"202603", "0.3", "3.005", "3.305", "0.5", "0.5", "2.805"} << true;
    QTest::newRow("employee statistics")
        << int(Report::EmployeeStatistics) << "员工工资统计表_2026年3月至2026年4月.xlsx"
        << "员工工资统计表[2026年3月 至 2026年4月]" << QStringList{"编号", "姓名"} << "ns" << 2
        << QStringList{"1", "张三", "3.1", "1.005", "4.105", "0", "0", "4.105"} << true;
}

void SpreadsheetExportTest::everyReportReadsBackAsPreviewed() {
    QFETCH(int, report);
    QFETCH(QString, suggested);
    QFETCH(QString, title);
    QFETCH(QStringList, fixedCaptions);
    QFETCH(QString, fixedTypes);
    QFETCH(int, rows);
    QFETCH(QStringList, firstRow);
    QFETCH(bool, totals);
    Workspace workspace;
    addSalaries(workspace);
    const QString path = workspace.path() + QStringLiteral("/export.xlsx");
    QString offered;
    PreviewDriver driver(
        [&](PreviewDialog &preview) { offered = PreviewDriver::save(preview, "导出Excel", path); });
    previewReport(Report(report));
    QCOMPARE(driver.shown(), 1);
    QVERIFY2(workspace.shownTexts().isEmpty(), qPrintable(workspace.shownTexts().join('\n')));
    QCOMPARE(offered, suggested);

    const QJsonArray sheet = readSheetBack(path);
    QCOMPARE(sheet.size(), 2 + rows + (totals ? 1 : 0) + 1); // title, header, rows, totals, panes
    QCOMPARE(cell(sheet, 0, 0)["v"].toString(), title);
    QCOMPARE(rowTexts(sheet, 1), fixedCaptions + amountCaptions);
    QVERIFY(cell(sheet, 1, 0)["bold"].toBool());
    QCOMPARE(sheet.last()["frozen"].toString(), QStringLiteral("A3"));
    QCOMPARE(sheet.last()["orientation"].toString(), QStringLiteral("landscape"));
    QCOMPARE(sheet.last()["paper"].toInt(), 9); // A4
    QCOMPARE(sheet.last()["titleRows"].toString(), QStringLiteral("$2:$2"));

    QCOMPARE(rowTexts(sheet, 2), firstRow);
    // Month keys stay text, an employee's number is a number that sorts as one.
    for (int column = 0; column < fixedCaptions.size(); ++column)
        QCOMPARE(cell(sheet, 2, column)["t"].toString(), QString(fixedTypes[column]));
    const QJsonObject firstAmount = cell(sheet, 2, fixedCaptions.size());
    QCOMPARE(firstAmount["t"].toString(), QStringLiteral("n"));
    QCOMPARE(firstAmount["fmt"].toString(), QStringLiteral("0.00"));
    QCOMPARE(firstAmount["font"].toString(), QStringLiteral("宋体"));

    if (!totals)
        return;
    // Under each amount column a SUM over the rows above, cached with the exact total.
    const int totalsRow = 2 + rows;
    const QJsonObject netPay = cell(sheet, totalsRow, fixedCaptions.size() + 5);
    const QChar netPayColumn(char16_t(u'A' + fixedCaptions.size() + 5));
    QCOMPARE(netPay["v"].toString(),
             QStringLiteral("=SUM(%1%2:%1%3)").arg(netPayColumn).arg(3).arg(totalsRow));
    QCOMPARE(netPay["cached"].toDouble(), 5.805);
    QCOMPARE(cell(sheet, totalsRow, fixedCaptions.size())["cached"].toDouble(), 3.3);
    QVERIFY(cell(sheet, totalsRow, 0)["v"].isNull()); // nothing under the fixed columns
}

void SpreadsheetExportTest::rowTotalsAreFormulasOverTheirRow_data() {
    QTest::addColumn<int>("report");
    QTest::addColumn<int>("row");              // in the sheet, from 0
    QTest::addColumn<int>("firstAmount");      // column of the first amount
    QTest::addColumn<QStringList>("formulas"); // earnings, deductions, net pay
    QTest::addColumn<QList<double>>("cached");

    // Columns: fixed ones, then 基本工资, 奖金, 应付合计, 个税, 扣款合计, 实发工资.
    QTest::newRow("pay slip") << int(Report::PaySlips) << 3 << 3
                              << QStringList{"=D4+E4", "=G4", "=F4-H4"}
                              << QList<double>{2.2, 0.5, 1.7};
    QTest::newRow("query") << int(Report::Query) << 2 << 3 << QStringList{"=D3+E3", "=G3", "=F3-H3"}
                           << QList<double>{1.105, 0, 1.105};
    // An amount in a slot no item stands for any more (here f3) is in the stored total: the
    // formula carries it as a number, so that it still comes to the same figure.
    QTest::newRow("query, a removed item's amount")
        << int(Report::Query) << 5 << 3 << QStringList{"=D6+E6+7.5", "=G6", "=F6-H6"}
        << QList<double>{8.5, 0, 8.5};
    QTest::newRow("month statistics")
        << int(Report::MonthStatistics) << 2 << 1 << QStringList{"=B3+C3", "=E3", "=D3-F3"}
        << QList<double>{3.305, 0.5, 2.805};
}

void SpreadsheetExportTest::rowTotalsAreFormulasOverTheirRow() {
    QFETCH(int, report);
    QFETCH(int, row);
    QFETCH(int, firstAmount);
    QFETCH(QStringList, formulas);
    QFETCH(QList<double>, cached);
    Workspace workspace;
    addSalaries(workspace);
    workspace.exec("insert into GZB (ny,ygh,xm,bmmc,zw,f1,f2,f3,k1) values "
                   "('202604',2,'李四','财务科','会计',10000,0,75000,0)");
    const QString path = workspace.path() + QStringLiteral("/export.xlsx");
    PreviewDriver driver(
        [&](PreviewDialog &preview) { PreviewDriver::save(preview, "导出Excel", path); });
    previewReport(Report(report));
    const QJsonArray sheet = readSheetBack(path);
    QVERIFY(!sheet.isEmpty());

    const int totalColumns[] = {firstAmount + 2, firstAmount + 4, firstAmount + 5};
    for (int total = 0; total < 3; ++total) {
        const QJsonObject shown = cell(sheet, row, totalColumns[total]);
        QCOMPARE(shown["t"].toString(), QStringLiteral("f"));
        QCOMPARE(shown["v"].toString(), formulas[total]);
        QCOMPARE(shown["cached"].toDouble(), cached[total]);
    }
    // The items themselves stay numbers.
    QCOMPARE(cell(sheet, row, firstAmount)["t"].toString(), QStringLiteral("n"));
}

void SpreadsheetExportTest::unwritableFileIsReportedAndLeavesNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("diskFull");
    QTest::newRow("missing folder") << "no such folder/工资.xlsx" << false;
    QTest::newRow("folder is a plain file") << "GZDB.mdb/工资.xlsx" << false;
    QTest::newRow("disk full while writing") << "工资.xlsx" << true;
}

void SpreadsheetExportTest::unwritableFileIsReportedAndLeavesNothing() {
    QFETCH(QString, name);
    QFETCH(bool, diskFull);
    Workspace workspace;
    addSalaries(workspace);
    const QDir folder(workspace.path());
    const QStringList before = folder.entryList(QDir::AllEntries | QDir::Hidden);
    const QString path = folder.filePath(name);

    PreviewDriver driver([&](PreviewDialog &preview) {
        // A sheet takes some kilobytes: the limit lets the file be started, not finished.
        const std::optional<FileSizeLimit> limit =
            diskFull ? std::make_optional<FileSizeLimit>(2048) : std::nullopt;
        PreviewDriver::save(preview, "导出Excel", path);
    });
    previewReport(Report::PaySlips);
    QCOMPARE(workspace.shownMessages().size(), 1);
    QCOMPARE(workspace.shownMessages().first().kind, Messages::Kind::Error);
    const QString message = workspace.shownTexts().first();
    QVERIFY2(message.startsWith(path + QStringLiteral(": 文件没有保存。\n（")),
             qPrintable(message));
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(folder.entryList(QDir::AllEntries | QDir::Hidden), before);
}

QTEST_MAIN(SpreadsheetExportTest)
#include "test_spreadsheetexport.moc"
