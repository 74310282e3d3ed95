// The report engine without a printer: the amount column list, the geometry of the four
// reports, sums, masks and pagination read from the page model, clipping read from painted
// pixels, and a real PDF read back with poppler's tools.
#include "amountcolumnlist.h"
#include "dbgrid.h"
#include "fonts.h"
#include "layout.h"
#include "pdftext.h"
#include "reportexport.h"
#include "reportfonts.h"
#include "reportlayouts.h"
#include "reportpainter.h"
#include "salarycolumns.h"
#include "workspace.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTest>
#include <optional>

namespace {

using Builder = ReportDefinition (*)(const QList<AmountColumn> &);
enum Report { PaySlip, QueryResult, MonthStatistics, EmployeeStatistics };
const Builder builders[] = {paySlipReport, queryReport, monthStatisticsReport,
                            employeeStatisticsReport};

// Two earning items and one deduction item: six amount columns f1, f2, f_h, k1, k_h, sf.
void addItems(Workspace &workspace) {
    workspace.exec("insert into GZXMZD (bh,mc,S_JC,S_FK) values "
                   "(1,'基本工资',1,'0'),(2,'养老保险',1,'1'),(4,'岗位津贴',0,'0')");
}

// `count` salary rows of 5000 + 750 earned and 400 deducted, in ten-thousandths.
void addRows(Workspace &workspace, int count) {
    workspace.exec(
        QStringLiteral(
            "with recursive n(i) as (select 1 union all select i+1 from n "
            "where i < %1) insert into GZB (ny,ygh,xm,bmmc,zw,f1,f2,k1) "
            "select '202611', i+2, '王志强', '财务科', '会计', 50000000, 7500000, 4000000 "
            "from n")
            .arg(count));
}

// The report laid out over every salary row, as the windows open them.
PageModel layOutRows(Report report, const QString &title = QStringLiteral("标题")) {
    QStringList lines{QStringLiteral("select *,")};
    lines << SalaryColumns::rowTotalLines() << QStringLiteral("from GZB order by ygh");
    openLines(DM->AQ1, lines);
    ReportDefinition definition = builders[report](buildAmountColumns());
    if (definition.title.isEmpty())
        definition.title = title;
    return layOut(definition, DM->AQ1);
}

// A copy: pages are made when asked for, so a page may not outlive the statement.
std::optional<PageText> textAt(const Page &page, QPoint at) {
    for (const PageText &placed : page.texts)
        if (placed.box.topLeft() == at)
            return placed;
    return std::nullopt;
}

QString pdfInfo(const QString &path) {
    QProcess process;
    process.start("pdfinfo", {path});
    if (!process.waitForFinished() || process.exitCode() != 0)
        return "pdfinfo failed: " + process.errorString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class ReportLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutes(); }
    void amountColumnsFollowTheItems_data();
    void amountColumnsFollowTheItems();
    void amountGridColumnsFollowTheFixedOnes();
    void fixedCellsStandWhereLaidOut_data();
    void fixedCellsStandWhereLaidOut();
    void amountCellsStepAcrossTheRows_data();
    void amountCellsStepAcrossTheRows();
    void sumsStandUnderTheirColumns();
    void amountsPrintWithTwoDecimals_data();
    void amountsPrintWithTwoDecimals();
    void bandsFlowOntoPagesWhole_data();
    void bandsFlowOntoPagesWhole();
    void captionIsClippedToItsCell();
    void pdfIsLandscapeA4WithTheTextAsText();
    void pdfToAnUnwritablePlaceFails();
};

void ReportLayoutTest::amountColumnsFollowTheItems_data() {
    QTest::addColumn<QString>("items"); // bh, mc, S_FK
    QTest::addColumn<QString>("columns");
    const QString totals = "应付合计:f_h 扣款合计:k_h 实发工资:sf";
    QTest::newRow("earnings and deductions by bh")
        << "(1,'甲','0'),(4,'乙','0'),(2,'丙','1')"
        << "甲:f1 乙:f2 应付合计:f_h 丙:k1 扣款合计:k_h 实发工资:sf";
    QTest::newRow("no items") << "" << totals;
    QTest::newRow("no earnings") << "(5,'丁','1'),(2,'丙','1')"
                                 << "应付合计:f_h 丙:k1 丁:k2 扣款合计:k_h 实发工资:sf";
    QTest::newRow("no deductions") << "(3,'甲','0')"
                                   << "甲:f1 " + totals;
    QTest::newRow("slots ignore gaps in bh") << "(9,'丙','0'),(3,'甲','0'),(7,'乙','0')"
                                             << "甲:f1 乙:f2 丙:f3 " + totals;
    QTest::newRow("any other kind deducts")
        << "(1,'甲','2'),(2,'乙','1'),(3,'丙',NULL)"
        << "应付合计:f_h 丙:k1 乙:k2 甲:k3 扣款合计:k_h 实发工资:sf";
}

void ReportLayoutTest::amountColumnsFollowTheItems() {
    QFETCH(QString, items);
    QFETCH(QString, columns);
    Workspace workspace;
    if (!items.isEmpty())
        workspace.exec("insert into GZXMZD (bh,mc,S_FK) values " + items);
    QStringList built;
    for (const AmountColumn &column : buildAmountColumns())
        built << column.caption + ':' + column.field;
    QCOMPARE(built.join(' '), columns);
}

void ReportLayoutTest::amountGridColumnsFollowTheFixedOnes() {
    Workspace workspace;
    addItems(workspace);
    QWidget window;
    DBGrid grid(DM->DS1, &window);
    grid.setColumns({{"ny", "年月", 43}});
    addAmountGridColumns(grid, buildAmountColumns());
    QStringList fields;
    for (const GridColumn &column : grid.columns()) {
        fields << column.field;
        if (column.field != "ny") {
            QCOMPARE(column.width, 50);
            QCOMPARE(column.alignment, Qt::AlignRight);
        }
    }
    QCOMPARE(fields, QStringList({"ny", "f1", "f2", "f_h", "k1", "k_h", "sf"}));
    QCOMPARE(grid.columnWidth(6), 50);
    QCOMPARE(grid.model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("岗位津贴"));
}

// Boxes as the layout gives them, on the page; the bands of the table reports start at 0
// (title), 66 (the one row) and 89 (totals). A text width of -1 stands for "as wide as its
// text", an x of -1 for "centred on the page".
void ReportLayoutTest::fixedCellsStandWhereLaidOut_data() {
    QTest::addColumn<int>("report");
    QTest::addColumn<QString>("text"); // empty for a rectangle
    QTest::addColumn<QRect>("box");
    const QString none;
    QTest::newRow("slip month box") << int(PaySlip) << none << QRect(24, 17, 37, 24);
    QTest::newRow("slip number box") << int(PaySlip) << none << QRect(60, 17, 33, 24);
    QTest::newRow("slip name box") << int(PaySlip) << none << QRect(92, 17, 47, 24);
    QTest::newRow("slip month value box") << int(PaySlip) << none << QRect(24, 40, 37, 24);
    QTest::newRow("slip name value box") << int(PaySlip) << none << QRect(92, 40, 47, 24);
    QTest::newRow("slip month caption") << int(PaySlip) << "月份" << QRect(30, 22, -1, 13);
    QTest::newRow("slip number caption") << int(PaySlip) << "编号" << QRect(65, 23, -1, 13);
    QTest::newRow("slip name caption") << int(PaySlip) << "姓名" << QRect(101, 23, 29, 13);
    QTest::newRow("slip month") << int(PaySlip) << "202611" << QRect(26, 44, 32, 17);
    QTest::newRow("slip number") << int(PaySlip) << "3" << QRect(64, 44, 25, 17);
    QTest::newRow("slip name") << int(PaySlip) << "王志强" << QRect(94, 44, 43, 17);

    QTest::newRow("query title") << int(QueryResult) << "数 据 查 询 结 果" << QRect(-1, 21, -1, 0);
    QTest::newRow("query month box") << int(QueryResult) << none << QRect(24, 42, 37, 24);
    QTest::newRow("query number box") << int(QueryResult) << none << QRect(60, 42, 33, 24);
    QTest::newRow("query name box") << int(QueryResult) << none << QRect(92, 42, 47, 24);
    QTest::newRow("query row month box") << int(QueryResult) << none << QRect(24, 65, 37, 24);
    QTest::newRow("query row name box") << int(QueryResult) << none << QRect(92, 65, 47, 24);
    QTest::newRow("query totals box") << int(QueryResult) << none << QRect(24, 87, 115, 25);
    QTest::newRow("query month caption") << int(QueryResult) << "月份" << QRect(30, 47, -1, 13);
    QTest::newRow("query number caption") << int(QueryResult) << "编号" << QRect(65, 48, -1, 13);
    QTest::newRow("query name caption") << int(QueryResult) << "姓名" << QRect(101, 48, 29, 13);
    QTest::newRow("query month") << int(QueryResult) << "202611" << QRect(26, 69, 32, 17);
    QTest::newRow("query number") << int(QueryResult) << "3" << QRect(64, 69, 25, 17);
    QTest::newRow("query name") << int(QueryResult) << "王志强" << QRect(94, 69, 43, 17);

    QTest::newRow("month title") << int(MonthStatistics) << "标题" << QRect(-1, 13, -1, 0);
    QTest::newRow("month box") << int(MonthStatistics) << none << QRect(25, 42, 47, 24);
    QTest::newRow("month row box") << int(MonthStatistics) << none << QRect(25, 65, 47, 24);
    QTest::newRow("month totals box") << int(MonthStatistics) << none << QRect(25, 87, 47, 25);
    QTest::newRow("month caption") << int(MonthStatistics) << "年月" << QRect(34, 48, 29, 13);
    QTest::newRow("month") << int(MonthStatistics) << "202611" << QRect(28, 69, 42, 17);

    QTest::newRow("employee title") << int(EmployeeStatistics) << "标题" << QRect(-1, 13, -1, 0);
    QTest::newRow("employee number box")
        << int(EmployeeStatistics) << none << QRect(25, 42, 38, 24);
    QTest::newRow("employee name box") << int(EmployeeStatistics) << none << QRect(62, 42, 47, 24);
    QTest::newRow("employee row number box")
        << int(EmployeeStatistics) << none << QRect(25, 65, 38, 24);
    QTest::newRow("employee row name box")
        << int(EmployeeStatistics) << none << QRect(62, 65, 47, 24);
    QTest::newRow("employee totals box")
        << int(EmployeeStatistics) << none << QRect(25, 87, 84, 25);
    QTest::newRow("employee number caption")
        << int(EmployeeStatistics) << "编号" << QRect(30, 48, 29, 13);
    QTest::newRow("employee name caption")
        << int(EmployeeStatistics) << "姓名" << QRect(71, 48, 29, 13);
    QTest::newRow("employee number") << int(EmployeeStatistics) << "3" << QRect(28, 69, 32, 17);
    QTest::newRow("employee name") << int(EmployeeStatistics) << "王志强" << QRect(65, 69, 41, 17);
}

void ReportLayoutTest::fixedCellsStandWhereLaidOut() {
    QFETCH(int, report);
    QFETCH(QString, text);
    QFETCH(QRect, box);
    Workspace workspace;
    addItems(workspace);
    addRows(workspace, 1);
    const PageModel pages = layOutRows(Report(report));
    QCOMPARE(pages.size(), 1);
    const Page &page = pages.first();
    if (text.isEmpty()) {
        QVERIFY2(page.rectangles.contains(box), "no such rectangle");
        return;
    }
    const PageText *placed = nullptr;
    for (const PageText &candidate : page.texts)
        if (candidate.text == text)
            placed = &candidate;
    QVERIFY2(placed, "text not placed");
    const TextStyle style = text == "202611" || text == "3" || text == "王志强" ? TextStyle::Value
                            : box.height() == 0                                 ? TextStyle::Title
                                                : TextStyle::Caption;
    QCOMPARE(placed->style, style);
    const int width = box.width() < 0 ? textWidth(style, text) : box.width();
    const int x = box.x() < 0 ? (reportPageSize.width() - width) / 2 : box.x();
    const int height = box.height() == 0 ? lineHeight(style) : box.height();
    QVERIFY(width > 0);
    QCOMPARE(placed->box, QRect(x, box.y(), width, height));
}

void ReportLayoutTest::amountCellsStepAcrossTheRows_data() {
    QTest::addColumn<int>("report");
    QTest::addColumn<int>("x0");
    QTest::addColumn<int>("step");
    QTest::addColumn<QList<int>>("rows"); // rectangle y, height and text y of each row
    const QList<int> tableRows{42, 24, 47, 65, 24, 69, 87, 25, 92};
    QTest::newRow("pay slip") << int(PaySlip) << 138 << 48 << QList<int>{17, 24, 23, 40, 24, 44};
    QTest::newRow("query") << int(QueryResult) << 138 << 48 << tableRows;
    QTest::newRow("month statistics") << int(MonthStatistics) << 71 << 57 << tableRows;
    QTest::newRow("employee statistics") << int(EmployeeStatistics) << 108 << 57 << tableRows;
}

void ReportLayoutTest::amountCellsStepAcrossTheRows() {
    QFETCH(int, report);
    QFETCH(int, x0);
    QFETCH(int, step);
    QFETCH(QList<int>, rows);
    Workspace workspace;
    addItems(workspace);
    addRows(workspace, 1);
    const PageModel pages = layOutRows(Report(report));
    const Page &page = pages.first();
    const QList<AmountColumn> columns = buildAmountColumns();
    for (int row = 0; row < rows.size(); row += 3) {
        const int textY = rows[row + 2];
        for (int i = 0; i < columns.size(); ++i) {
            const QRect box(x0 + step * i, rows[row], step + 1, rows[row + 1]);
            QVERIFY2(page.rectangles.contains(box), qPrintable(columns[i].field));
            const std::optional<PageText> text = textAt(page, {x0 + 2 + step * i, textY});
            QVERIFY2(text, qPrintable(columns[i].field));
            QCOMPARE(text->box.width(), step - 3);
            QCOMPARE(text->alignment, row == 0 ? Qt::AlignHCenter : Qt::AlignRight);
            if (row == 0)
                QCOMPARE(text->text, columns[i].caption);
        }
    }
}

void ReportLayoutTest::sumsStandUnderTheirColumns() {
    Workspace workspace;
    addItems(workspace);
    workspace.exec("insert into GZB (ny,ygh,xm,f1,f2,k1) values "
                   "('202611',1,'甲',1000,70000,125000),('202611',2,'乙',2000,-20000,0)");
    const PageModel pages = layOutRows(QueryResult);
    // f1, f2, f_h, k1, k_h, sf summed over both rows, exactly.
    const QStringList sums{"0.30", "5.00", "5.30", "12.50", "12.50", "-7.20"};
    for (int i = 0; i < sums.size(); ++i) {
        const std::optional<PageText> sum =
            textAt(pages.last(), {138 + 2 + 48 * i, 66 + 2 * 23 + 3});
        QVERIFY(sum);
        QCOMPARE(sum->text, sums[i]);
    }
}

void ReportLayoutTest::amountsPrintWithTwoDecimals_data() {
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QString>("printed");
    QTest::newRow("zero") << qint64(0) << "0.00";
    QTest::newRow("negative") << qint64(-125000) << "-12.50";
    QTest::newRow("no grouping") << qint64(12345678900000) << "1234567890.00";
    QTest::newRow("rounded to the fen") << qint64(123456) << "12.35";
}

void ReportLayoutTest::amountsPrintWithTwoDecimals() {
    QFETCH(qint64, units);
    QFETCH(QString, printed);
    Workspace workspace;
    addItems(workspace);
    workspace.exec(
        QStringLiteral("insert into GZB (ny,ygh,xm,f1) values ('202611',1,'甲',%1)").arg(units));
    const PageModel pages = layOutRows(PaySlip);
    for (const int column : {0, 2, 5}) { // f1 and the totals that follow from it
        const std::optional<PageText> value = textAt(pages.first(), {138 + 2 + 48 * column, 44});
        QVERIFY(value);
        QCOMPARE(value->text, printed);
    }
}

void ReportLayoutTest::bandsFlowOntoPagesWhole_data() {
    QTest::addColumn<int>("report");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<int>>("rowsPerPage");
    QTest::addColumn<int>("totalsBandTop"); // on the last page; -1 for a report without totals
    QTest::newRow("twelve slips fill a page") << int(PaySlip) << 12 << QList<int>{12} << -1;
    QTest::newRow("the thirteenth slip turns the page")
        << int(PaySlip) << 13 << QList<int>{12, 1} << -1;
    QTest::newRow("slips over three pages") << int(PaySlip) << 25 << QList<int>{12, 12, 1} << -1;
    QTest::newRow("totals fit under the rows")
        << int(QueryResult) << 30 << QList<int>{30} << 66 + 30 * 23;
    QTest::newRow("totals alone on the next page")
        << int(QueryResult) << 31 << QList<int>{31, 0} << 0;
    QTest::newRow("query over three pages")
        << int(QueryResult) << 70 << QList<int>{31, 34, 5} << 5 * 23;
}

void ReportLayoutTest::bandsFlowOntoPagesWhole() {
    QFETCH(int, report);
    QFETCH(int, rows);
    QFETCH(QList<int>, rowsPerPage);
    QFETCH(int, totalsBandTop);
    Workspace workspace;
    addItems(workspace);
    addRows(workspace, rows);
    const PageModel pages = layOutRows(Report(report));
    QCOMPARE(pages.size(), rowsPerPage.size());
    for (int p = 0; p < pages.size(); ++p) {
        int rowsHere = 0;
        for (const PageText &text : pages[p].texts) {
            rowsHere += text.text == "202611";
            QVERIFY(text.box.top() >= 0 && text.box.bottom() < reportPageSize.height());
        }
        QCOMPARE(rowsHere, rowsPerPage[p]);
        for (const QRect &box : pages[p].rectangles)
            QVERIFY(box.top() >= -2 && box.bottom() < reportPageSize.height());
    }
    if (totalsBandTop >= 0)
        QVERIFY(pages.last().rectangles.contains(QRect(24, totalsBandTop - 2, 115, 25)));
}

void ReportLayoutTest::captionIsClippedToItsCell() {
    const QRect cell(100, 10, 45, 13);
    Page page;
    page.texts << PageText{cell, "这是一个很长很长的项目名称", TextStyle::Caption,
                           Qt::AlignHCenter};
    QImage image(300, 40, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780); // 96 dots per inch: one pixel per layout unit
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(page, painter);
    painter.end();
    int inside = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool ink = qGray(image.pixel(x, y)) < 192; // narrowed glyphs draw thin strokes
            if (cell.contains(x, y))
                inside += ink;
            else
                QVERIFY2(!ink, qPrintable(QStringLiteral("ink at %1,%2").arg(x).arg(y)));
        }
    }
    QVERIFY(inside > 20);
}

void ReportLayoutTest::pdfIsLandscapeA4WithTheTextAsText() {
    Workspace workspace;
    addItems(workspace);
    addRows(workspace, 13);
    const QString path = workspace.path() + "/工资条_202611.pdf";
    writePdf(layOutRows(PaySlip), path);

    const QString info = pdfInfo(path);
    QVERIFY2(info.contains(QRegularExpression("Pages:\\s+2\\n")), qPrintable(info));
    QVERIFY2(info.contains(
                 QRegularExpression("Page size:\\s+84[12](\\.\\d+)? x 595(\\.\\d+)? pts \\(A4\\)")),
             qPrintable(info));
    const QString text = pdfText(path);
    for (const char *expected : {"月份", "编号", "姓名", "基本工资", "应付合计", "实发工资",
                                 "202611", "王志强", "5000.00", "5750.00", "5350.00"})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), qPrintable(text));
}

void ReportLayoutTest::pdfToAnUnwritablePlaceFails() {
    Workspace workspace;
    QVERIFY_THROWS_EXCEPTION(
        std::runtime_error,
        writePdf(layOutRows(PaySlip), workspace.path() + "/no/such/folder/a.pdf"));
}

QTEST_MAIN(ReportLayoutTest)
#include "test_reportlayout.moc"
