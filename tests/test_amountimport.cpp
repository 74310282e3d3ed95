// A month's amounts taken from a sheet: columns found by the items' names, rows matched to the
// month's employees by number, identity document or a name only one of them has, each problem
// listed and its cell left out, the amounts stored into the worksheet with the computed items
// following, and the rows an export of a month wrote bringing that month back exactly.
#include "amountcolumnlist.h"
#include "amountimport.h"
#include "amountimportdialog.h"
#include "entrymonth.h"
#include "flatbutton.h"
#include "openmonth.h"
#include "operator.h"
#include "progress.h"
#include "progresscancel.h"
#include "reportlayouts.h"
#include "salarycolumns.h"
#include "spreadsheeterror.h"
#include "spreadsheetexport.h"
#include "sqllines.h"
#include "workspace.h"
#include "xlsxfixture.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QTest>
#include <xlsxwriter.h>

namespace {

using Rows = QList<QStringList>;

// Items f1 基本工资, f2 奖金, k1 个人所得税 (computed). Employees 1 张三 (with an identity
// document), 2 李四, 3 王五 and 4 王五.
void addPayroll(const Workspace &workspace) {
    for (const char *sql : {
             "insert into BMZD (mc) values ('办公室')",
             "insert into GZXMZD (mc,S_JC,S_FK) values ('基本工资',1,'0')",
             "insert into GZXMZD (mc,S_JC,S_FK) values ('奖金',0,'0')",
             "insert into GZXMZD (mc,S_JC,S_FK) values ('个人所得税',0,'1')",
             "insert into GZXMJS (xmbh,jsfs,bl,jsjs,sx,sqkc) values (3,'2',0,'1',null,0)",
             "insert into YGZD (xm,xb,bmh,zt) values ('张三','男',1,'1'),('李四','女',1,'1'),"
             "('王五','男',1,'1'),('王五','女',1,'1')",
             "insert into YGZJ (ygh,zjhm) values (1,'11010119900307777X')",
         })
        workspace.exec(QString::fromUtf8(sql));
}

ImportSheet readSheet(const QString &path, const QStringList &known) {
    const std::unique_ptr<Workbook> opened = openWorkbook(path);
    const Workbook &book = *opened;
    return readImportSheet(book, 0, known, [] {});
}

QStringList knownHeaders(const QList<AmountImport::Item> &items) {
    QStringList headers = {AmountImport::numberHeader, AmountImport::nameHeader,
                           AmountImport::documentHeader};
    for (const AmountImport::Item &item : items)
        headers << item.name;
    return headers;
}

// "张三:基本工资 0.00→3000.00" for each change.
QStringList changeTexts(const AmountImport::Preview &preview) {
    QStringList texts;
    for (const AmountImport::EmployeeChanges &employee : preview.employees)
        for (const AmountImport::Change &change : employee.changes)
            texts << QStringLiteral("%1:%2 %3→%4")
                         .arg(employee.name, change.item, change.before.toFixed2(),
                              change.after.toFixed2());
    return texts;
}

} // namespace

class AmountImportTest : public QObject {
    Q_OBJECT
private slots:
    void previewsTheSheet_data();
    void previewsTheSheet();
    void refusesAnIdentityNumberStoredAsNumber();
    void leavesMergedCellsOutAndRefusesHiddenSheets();
    void storesIntoTheWorksheetWithComputedItems();
    void bringsAnExportedMonthBack();
    void importsThroughTheDialog();
    void cancelsReadingALargeSheet();
    void takesAmountsFromALegacyWorkbook();
};

void AmountImportTest::previewsTheSheet_data() {
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QString>("problem"); // a part of the one problem expected; empty: none
    QTest::addColumn<int>("missing");

    const QStringList header = {"编号", "姓名", "基本工资", "奖金"};
    QTest::newRow("matched by number under a title row")
        << Rows{{"三月工资"}, header, {"2", "随便", "4000", "0"}}
        << QStringList{"李四:基本工资 0.00→4000.00"} << "" << 3;
    QTest::newRow("matched by identity document")
        << Rows{{"证件号码", "基本工资"}, {"11010119900307777x", "5000.5"}}
        << QStringList{"张三:基本工资 0.00→5000.50"} << "" << 3;
    QTest::newRow("matched by a name only one has")
        << Rows{{"姓名", "奖金"}, {"李四", "12.3"}} << QStringList{"李四:奖金 0.00→12.30"} << ""
        << 3;
    QTest::newRow("unchanged amounts change nothing")
        << Rows{header, {"1", "张三", "0", ""}} << QStringList{} << "" << 3;
    QTest::newRow("a shared name needs the number")
        << Rows{{"姓名", "奖金"}, {"王五", "100"}} << QStringList{} << "同名者不止一人" << 4;
    QTest::newRow("a number nobody has")
        << Rows{header, {"9", "张三", "100", ""}} << QStringList{} << "本月没有这名员工" << 4;
    QTest::newRow("text where an amount belongs")
        << Rows{header, {"1", "张三", "三千", "50"}} << QStringList{"张三:奖金 0.00→50.00"}
        << "第 2 行“基本工资”列是“三千”，不是金额" << 3;
    QTest::newRow("more than two decimals")
        << Rows{header, {"1", "张三", "3000.125", ""}} << QStringList{} << "超过两位小数" << 3;
    QTest::newRow("the same employee twice")
        << Rows{header, {"1", "张三", "100", ""}, {"1", "张三", "200", ""}}
        << QStringList{"张三:基本工资 0.00→100.00"} << "与第 2 行是同一员工" << 3;
    QTest::newRow("computed items are not taken") << Rows{{"编号", "个人所得税"}, {"1", "99"}}
                                                  << QStringList{} << "没有与工资项目同名的列" << 3;
}

void AmountImportTest::previewsTheSheet() {
    QFETCH(Rows, rows);
    QFETCH(QStringList, changes);
    QFETCH(QString, problem);
    QFETCH(int, missing);
    Workspace workspace;
    addPayroll(workspace);
    EntryMonth month;
    openMonth(month, "202612");

    const QString path = workspace.path() + "/amounts.xlsx";
    {
        XlsxFixture book(path);
        book.writeRows(book.sheet("工资"), rows);
    }
    const QList<AmountImport::Item> items =
        AmountImport::enteredItems(month.rules().computedColumns());
    const AmountImport::Preview preview = AmountImport::preview(
        readSheet(path, knownHeaders(items)), items, AmountImport::readMonth(items));
    QCOMPARE(changeTexts(preview), changes);
    QCOMPARE(preview.problems.size(), problem.isEmpty() ? 0 : 1);
    if (!problem.isEmpty())
        QVERIFY2(preview.problems.first().contains(problem), qPrintable(preview.problems.first()));
    QCOMPARE(preview.missing.size(), missing);
}

void AmountImportTest::refusesAnIdentityNumberStoredAsNumber() {
    Workspace workspace;
    addPayroll(workspace);
    workspace.exec("update YGZJ set zjhm='110101199003077777' where ygh=1");
    EntryMonth month;
    openMonth(month, "202612");
    const QString path = workspace.path() + "/amounts.xlsx";
    {
        XlsxFixture book(path);
        lxw_worksheet *sheet = book.sheet("工资");
        book.writeRows(sheet, {{"证件号码", "基本工资"}});
        worksheet_write_number(sheet, 1, 0, 110101199003077777.0, nullptr);
        worksheet_write_number(sheet, 1, 1, 100, nullptr);
    }
    const QList<AmountImport::Item> items = AmountImport::enteredItems({});
    const AmountImport::Preview preview = AmountImport::preview(
        readSheet(path, knownHeaders(items)), items, AmountImport::readMonth(items));
    QVERIFY(preview.employees.isEmpty());
    QCOMPARE(preview.problems.size(), 1);
    QVERIFY2(preview.problems.first().contains("设为文本"), qPrintable(preview.problems.first()));
}

void AmountImportTest::leavesMergedCellsOutAndRefusesHiddenSheets() {
    Workspace workspace;
    addPayroll(workspace);
    EntryMonth month;
    openMonth(month, "202612");
    const QString path = workspace.path() + "/amounts.xlsx";
    {
        XlsxFixture book(path);
        lxw_worksheet *sheet = book.sheet("工资");
        worksheet_merge_range(sheet, 0, 0, 0, 2, "十二月工资", nullptr);
        book.writeRows(sheet, {{}, {"编号", "基本工资", "奖金"}, {"1", "3000", "100"}});
        worksheet_merge_range(sheet, 3, 1, 3, 2, "", nullptr);
        worksheet_write_number(sheet, 3, 0, 2, nullptr);
        worksheet_hide(book.sheet("旧表"));
    }
    const QList<AmountImport::Item> items = AmountImport::enteredItems({"k1"});
    const std::unique_ptr<Workbook> opened = openWorkbook(path);
    const Workbook &book = *opened;
    const AmountImport::Preview preview =
        AmountImport::preview(readImportSheet(book, 0, knownHeaders(items), [] {}), items,
                              AmountImport::readMonth(items));
    // The merged title above the header is no problem; the merged cells of row 4 are.
    QCOMPARE(preview.problems,
             QStringList{"单元格 B4:C4 是合并的，其中的数据不导入；请先取消合并。"});
    QCOMPARE(changeTexts(preview),
             (QStringList{"张三:基本工资 0.00→3000.00", "张三:奖金 0.00→100.00"}));
    try {
        readImportSheet(book, 1, knownHeaders(items), [] {});
        QFAIL("a hidden sheet was read");
    } catch (const SpreadsheetError &error) {
        QVERIFY2(error.text().contains("隐藏"), qPrintable(error.text()));
    }
}

void AmountImportTest::storesIntoTheWorksheetWithComputedItems() {
    Workspace workspace;
    addPayroll(workspace);
    EntryMonth month;
    openMonth(month, "202612");
    month.storeEmployees(
        {{1, {{"f1", Currency::fromYuan(20000)}}}, {2, {{"f2", Currency::fromYuan(500)}}}});
    Query check(DM->ADC);
    check.addLine("select ygh,f1,f2,k1 from temp_gzb order by ygh");
    check.open();
    QCOMPARE(check.field("f1").asCurrency(), Currency::fromYuan(20000));
    // 20000 a month is taxed: the computed item followed the imported amount.
    QVERIFY(check.field("k1").asCurrency() > Currency());
    check.next();
    QCOMPARE(check.field("f2").asCurrency(), Currency::fromYuan(500));
    // Nothing reaches the stored months before 保存.
    QCOMPARE(fileRows("select count(*) from GZB"), QStringList{"0"});
}

void AmountImportTest::bringsAnExportedMonthBack() {
    Workspace workspace(Workspace::Database::Demo);
    const QString key = "202611";
    const QString monthRows = "select * from GZB where ny='" + key + "' order by ygh";
    const QStringList before = fileRows(monthRows);
    QVERIFY(!before.isEmpty());

    const QString path = workspace.path() + "/month.xlsx";
    {
        const ReportDefinition report = queryReport(buildAmountColumns());
        Query rows(DM->ADC);
        rows.addLine("select a.*,");
        for (const QString &line : SalaryColumns::rowTotalLines())
            rows.addLine(line);
        rows.addLine("from GZB as a where ny='" + key + "' order by ygh");
        rows.open();
        exportSpreadsheet(path, {"工资", report.title, report.columns, report.totalsRow}, rows);
    }
    workspace.exec("delete from GZB where ny='" + key + "'");

    EntryMonth month;
    openMonth(month, key);
    const QList<AmountImport::Item> items =
        AmountImport::enteredItems(month.rules().computedColumns());
    const AmountImport::Preview preview = AmountImport::preview(
        readSheet(path, knownHeaders(items)), items, AmountImport::readMonth(items));
    QVERIFY2(preview.problems.isEmpty(), qPrintable(preview.problems.join('\n')));
    QVERIFY(preview.missing.isEmpty());
    QList<EntryMonth::EmployeeAmounts> amounts;
    for (const AmountImport::EmployeeChanges &employee : preview.employees) {
        EntryMonth::EmployeeAmounts entered{employee.employee, {}};
        for (const AmountImport::Change &change : employee.changes)
            entered.amounts.append({change.column, change.after});
        amounts << entered;
    }
    month.storeEmployees(amounts);
    QVERIFY(month.save(noPulse));
    month.close();
    QCOMPARE(fileRows(monthRows), before);
}

void AmountImportTest::importsThroughTheDialog() {
    Workspace workspace;
    addPayroll(workspace);
    EntryMonth month;
    openMonth(month, "202612");
    const QString path = workspace.path() + "/amounts.xlsx";
    {
        XlsxFixture book(path);
        book.sheet("说明");
        book.writeRows(book.sheet("工资"), {{"编号", "奖金"}, {"2", "800"}});
    }
    AmountImportDialog dialog(month);
    dialog.openFile(path);
    QCOMPARE(dialog.c_sheet->count(), 2);
    dialog.chooseSheet(1);
    QVERIFY2(dialog.t_preview->toPlainText().contains("李四（编号 2）：奖金 0.00 → 800.00"),
             qPrintable(dialog.t_preview->toPlainText()));
    workspace.answerConfirmations({true});
    dialog.b_import->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    Query check(DM->ADC);
    check.addLine("select f2 from temp_gzb where ygh=2");
    check.open();
    QCOMPARE(check.field("f2").asCurrency(), Currency::fromYuan(800));
}

void AmountImportTest::cancelsReadingALargeSheet() {
    Workspace workspace;
    addPayroll(workspace);
    EntryMonth month;
    openMonth(month, "202612");
    const QString path = workspace.path() + "/amounts.xlsx";
    {
        Rows rows = {{"编号", "奖金"}};
        for (int row = 0; row < 5000; ++row)
            rows.append(QStringList{"2", "800"});
        XlsxFixture book(path);
        book.writeRows(book.sheet("工资"), rows);
    }
    AmountImportDialog dialog(month);
    const auto seen = std::make_shared<QString>();
    cancelProgressOf(&dialog, seen);
    QVERIFY_THROWS_EXCEPTION(OperationCancelled, dialog.openFile(path));
    QCOMPARE(*seen, "正在读取工作表…");
    QVERIFY(dialog.t_preview->toPlainText().isEmpty());
    QVERIFY(!dialog.b_import->isEnabled());
}

void AmountImportTest::takesAmountsFromALegacyWorkbook() {
    Workspace workspace;
    addPayroll(workspace);
    EntryMonth month;
    openMonth(month, "202612");
    const QString path = workspace.path() + "/amounts.xls";
    QVERIFY(writeLegacyWorkbook(path, "工资",
                                {{"姓名", "基本工资", "奖金"}, {"李四", "4500.1", "0.3"}}));
    AmountImportDialog dialog(month);
    dialog.openFile(path);
    QVERIFY2(dialog.t_preview->toPlainText().contains(
                 "李四（编号 2）：基本工资 0.00 → 4500.10，奖金 0.00 → 0.30"),
             qPrintable(dialog.t_preview->toPlainText()));
}

QTEST_MAIN(AmountImportTest)
#include "test_amountimport.moc"
