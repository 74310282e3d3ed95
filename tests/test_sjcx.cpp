// The salary data query window on a real database: the filters and the statement they build,
// quotes and wildcards, title-click sorting, the number box's key filter, filter changes
// emptying the grids, the read-only grids and the report with its totals.
#include "dbgrid.h"
#include "flatbutton.h"
#include "fonts.h"
#include "layout.h"
#include "modulerun.h"
#include "pdftext.h"
#include "previewdriver.h"
#include "salarycolumns.h"
#include "sjcx.h"
#include "spinedit.h"
#include "workspace.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

namespace {

// Departments 办公室, 技术部, 财务科, 市场'部 (indices 1 to 4 of the department box after
// "所有部门"); salary rows in the first months of 2005, one without a position.
void addSalaries(Workspace &workspace) {
    workspace.exec("insert into BMZD (mc) values ('办公室'),('技术部'),('财务科'),('市场''部')");
    workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values "
                   "('基本工资',1,'0'),('岗位津贴',1,'0'),('加班费',0,'0'),('个税',0,'1')");
    workspace.exec("insert into GZB (ny,ygh,xm,bmmc,zw,f1,f3,k1) values "
                   "('200501',1,'张建国','办公室','主任',78000000,0,1000000),"
                   "('200502',2,'李秀英','办公室','文员',46000000,500000,0),"
                   "('200503',3,'O''Neil','技术部','工程师',89000000,0,2000000),"
                   "('200504',4,'王志强','技术部二组','工程_师',72000000,0,0),"
                   "('200502',5,'陈明','财务科',NULL,51000000,0,0),"
                   "('200503',123,'赵磊','市场''部','销售',62000000,0,0)");
}

struct Filters {
    int fromYear = 2005, fromMonth = 1, toYear = 2005, toMonth = 12;
    int department = 0;
    QString number, name, position;

    void apply(Tfrm_sjcx &window) const {
        window.e_n->setValue(fromYear);
        window.e_y->setValue(fromMonth);
        window.e_n1->setValue(toYear);
        window.e_y1->setValue(toMonth);
        window.c_bm->setCurrentIndex(department);
        window.e_bh->setText(number);
        window.e_xm->setText(name);
        window.e_zw->setText(position);
    }
};

QList<int> foundNumbers() {
    QList<int> numbers;
    if (!DM->AQ1.isOpen())
        return numbers;
    for (int row = 0; row < DM->AQ1.recordCount(); ++row)
        numbers << int(DM->AQ1.fieldAt(row, "ygh").asInteger());
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

void clickTitle(DBGrid *grid, const QString &title) {
    for (int i = 0; i < grid->columns().size(); ++i) {
        if (grid->columns().at(i).title == title) {
            QHeaderView *header = grid->horizontalHeader();
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(i) + 5, 5));
            return;
        }
    }
    QFAIL(qPrintable("no title " + title));
}

QString lastLine(const QString &statement) {
    return statement.trimmed().section('\n', -1);
}

} // namespace

Q_DECLARE_METATYPE(Filters)

class SalaryQueryTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutes(); }
    void findsTheRowsOfTheFilters_data();
    void findsTheRowsOfTheFilters();
    void departmentIsTheOneChosen_data();
    void departmentIsTheOneChosen();
    void buildsTheStatementLineByLine();
    void titleClickSorts_data();
    void titleClickSorts();
    void equalSortKeysComeByMonthAndNumber_data();
    void equalSortKeysComeByMonthAndNumber();
    void numberTakesDigitsOnly();
    void numberTooLargeIsReported();
    void filterChangeEmptiesGridsAndReport_data();
    void filterChangeEmptiesGridsAndReport();
    void gridsDeleteNothing();
    void reportTotalsTheRowsFound();
};

void SalaryQueryTest::findsTheRowsOfTheFilters_data() {
    QTest::addColumn<Filters>("filters");
    QTest::addColumn<QList<int>>("found");
    Filters firstQuarter;
    firstQuarter.toMonth = 3;
    QTest::newRow("a range, never a row without position")
        << firstQuarter << QList<int>{1, 2, 3, 123};
    Filters backwards;
    backwards.fromMonth = 3;
    backwards.toMonth = 1;
    QTest::newRow("first month after the last") << backwards << QList<int>{};
    Filters technology;
    technology.department = 2;
    QTest::newRow("a department, not one whose name contains it") << technology << QList<int>{3};
    Filters quotedDepartment;
    quotedDepartment.department = 4;
    QTest::newRow("a department with a quote") << quotedDepartment << QList<int>{123};
    Filters number;
    number.number = " 12 ";
    QTest::newRow("number is an exact match") << number << QList<int>{};
    number.number = "123";
    QTest::newRow("number") << number << QList<int>{123};
    Filters quotedName;
    quotedName.name = "O'Neil";
    QTest::newRow("a name with a quote, as typed") << quotedName << QList<int>{3};
    Filters quoteOnly;
    quoteOnly.position = "'";
    QTest::newRow("a lone quote finds nothing") << quoteOnly << QList<int>{};
    Filters wildcard;
    wildcard.position = "程_";
    QTest::newRow("underscore stands for any character") << wildcard << QList<int>{3, 4};
    Filters part;
    part.name = "秀";
    QTest::newRow("part of a name") << part << QList<int>{2};
}

void SalaryQueryTest::findsTheRowsOfTheFilters() {
    QFETCH(Filters, filters);
    QFETCH(QList<int>, found);
    Workspace workspace;
    addSalaries(workspace);
    int upperRows = -1;
    int lowerRows = -1;
    runModule<Tfrm_sjcx>([&](Tfrm_sjcx &window) {
        filters.apply(window);
        window.SpeedButton1->click();
        upperRows = window.RxDBGrid1->model()->rowCount();
        lowerRows = window.RxDBGrid2->model()->rowCount();
    });
    QCOMPARE(foundNumbers(), found);
    QCOMPARE(upperRows, found.size());
    QCOMPARE(lowerRows, found.size());
    QCOMPARE(workspace.shownTexts(),
             found.isEmpty() ? QStringList{"无符合条件信息！"} : QStringList{});
}

// 部门1's name is part of 部门10's; the rows found and the report's totals are those of the
// department chosen alone.
void SalaryQueryTest::departmentIsTheOneChosen_data() {
    QTest::addColumn<int>("department"); // in the box, after "所有部门"
    QTest::addColumn<QList<int>>("found");
    QTest::addColumn<QString>("total"); // of the basic pay, in the report's totals row
    QTest::newRow("部门1") << 1 << QList<int>{1, 2} << "300.00";
    QTest::newRow("部门10") << 2 << QList<int>{3, 4} << "3000.00";
    QTest::newRow("所有部门") << 0 << QList<int>{1, 2, 3, 4} << "3300.00";
}

void SalaryQueryTest::departmentIsTheOneChosen() {
    QFETCH(int, department);
    QFETCH(QList<int>, found);
    QFETCH(QString, total);
    Workspace workspace;
    workspace.exec("insert into BMZD (mc) values ('部门1'),('部门10')");
    workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values ('基本工资',1,'0')");
    workspace.exec("insert into GZB (ny,ygh,xm,bmmc,zw,f1) values "
                   "('200501',1,'甲','部门1','',1000000),('200501',2,'乙','部门1','',2000000),"
                   "('200501',3,'丙','部门10','',10000000),('200501',4,'丁','部门10','',20000000)");
    QStringList texts;
    runModule<Tfrm_sjcx>([&](Tfrm_sjcx &window) {
        Filters filters;
        filters.department = department;
        filters.apply(window);
        window.SpeedButton1->click();
        const PageModel pages = layOut(window.QuickRep1, DM->AQ1);
        for (qsizetype index = 0; index < pages.size(); ++index)
            for (const PageText &text : pages.at(index).texts)
                texts << text.text;
    });
    QCOMPARE(foundNumbers(), found);
    // The total stands under the basic pay, the earnings total and net pay.
    QCOMPARE(texts.count(total), 3);
    for (const QString other : {"300.00", "3000.00", "3300.00"})
        if (other != total)
            QVERIFY2(!texts.contains(other), qPrintable(other));
}

void SalaryQueryTest::buildsTheStatementLineByLine() {
    Workspace workspace;
    addSalaries(workspace);
    Filters filters;
    filters.department = 1;
    filters.number = "1";
    runModule<Tfrm_sjcx>([&](Tfrm_sjcx &window) {
        filters.apply(window);
        window.SpeedButton1->click();
    });
    QStringList statement{"select *,"};
    statement << SalaryColumns::rowTotalLines()
              << QStringList{"from GZB ",           "where (ny between :ny and :ny1) ",
                             "and (bmmc=:bmmc) ",   "and (ygh=:ygh) ",
                             "and (xm like '%%') ", "and (zw like '%%') ",
                             "order by bmmc"};
    QCOMPARE(DM->AQ1.sqlText(), statement.join('\n') + '\n');
    QCOMPARE(foundNumbers(), QList<int>{1});
}

void SalaryQueryTest::titleClickSorts_data() {
    QTest::addColumn<bool>("upperGrid");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("values"); // of that field, in the order shown
    QTest::newRow("name") << true << "姓名"
                          << "order by xm"
                          << "xm" << QStringList{"李秀英", "王志强", "张建国", "赵磊", "O'Neil"};
    QTest::newRow("net pay sorts by department")
        << false << "实发工资"
        << "order by bmmc"
        << "bmmc" << QStringList{"办公室", "办公室", "技术部", "技术部二组", "市场'部"};
    QTest::newRow("an amount column") << false << "加班费"
                                      << "order by f3"
                                      << "f3" << QStringList{"0", "0", "0", "0", "50"};
}

void SalaryQueryTest::titleClickSorts() {
    QFETCH(bool, upperGrid);
    QFETCH(QString, title);
    QFETCH(QString, order);
    QFETCH(QString, field);
    QFETCH(QStringList, values);
    Workspace workspace;
    addSalaries(workspace);
    runModule<Tfrm_sjcx>([&](Tfrm_sjcx &window) {
        Filters().apply(window);
        clickTitle(upperGrid ? window.RxDBGrid1 : window.RxDBGrid2, title);
    });
    QCOMPARE(lastLine(DM->AQ1.sqlText()), order);
    QStringList shown;
    for (int row = 0; row < DM->AQ1.recordCount(); ++row)
        shown << DM->AQ1.fieldAt(row, field).asString();
    QCOMPARE(shown, values);
}

void SalaryQueryTest::equalSortKeysComeByMonthAndNumber_data() {
    QTest::addColumn<QString>("title"); // clicked in the upper grid; none: the magnifier
    QTest::newRow("by department") << QString();
    QTest::newRow("by position") << "职务";
}

// Two departments of one position, their months saved out of order (a month saved again
// lands after the later ones): rows the sort cannot tell apart come by month, then by number,
// also where the engine's sort would mix them.
void SalaryQueryTest::equalSortKeysComeByMonthAndNumber() {
    QFETCH(QString, title);
    Workspace workspace;
    QStringList rows;
    QStringList expected;
    for (int month = 12; month >= 1; --month)
        for (int number = 4; number >= 1; --number)
            rows << QStringLiteral("('2005%1',%2,'员工','%3','文员')")
                        .arg(month, 2, 10, QChar('0'))
                        .arg(number)
                        .arg(number <= 2 ? "办公室" : "技术部");
    for (const int first : {1, 3})
        for (int month = 1; month <= 12; ++month)
            for (const int number : {first, first + 1})
                expected << QStringLiteral("2005%1 %2").arg(month, 2, 10, QChar('0')).arg(number);
    workspace.exec("insert into GZB (ny,ygh,xm,bmmc,zw) values " + rows.join(','));
    runModule<Tfrm_sjcx>([&](Tfrm_sjcx &window) {
        Filters().apply(window);
        title.isEmpty() ? window.SpeedButton1->click() : clickTitle(window.RxDBGrid1, title);
    });
    QStringList shown;
    for (int row = 0; row < DM->AQ1.recordCount(); ++row)
        shown << DM->AQ1.fieldAt(row, "ny").asString() + ' ' +
                     DM->AQ1.fieldAt(row, "ygh").asString();
    if (title == "职务") // one position: by month and number alone
        std::sort(expected.begin(), expected.end());
    QCOMPARE(shown, expected);
}

void SalaryQueryTest::numberTakesDigitsOnly() {
    Workspace workspace;
    QString afterTyping, afterBackspace, afterDelete;
    runModule<Tfrm_sjcx>([&](Tfrm_sjcx &window) {
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.e_bh->setFocus();
        QTest::keyClicks(window.e_bh, "12a3");
        afterTyping = window.e_bh->text();
        QTest::keyClick(window.e_bh, Qt::Key_Backspace);
        afterBackspace = window.e_bh->text();
        QTest::keyClick(window.e_bh, Qt::Key_Home);
        QTest::keyClick(window.e_bh, Qt::Key_Delete);
        afterDelete = window.e_bh->text();
    });
    QCOMPARE(afterTyping, QStringLiteral("123"));
    QCOMPARE(afterBackspace, QStringLiteral("123"));
    QCOMPARE(afterDelete, QStringLiteral("23"));
}

void SalaryQueryTest::numberTooLargeIsReported() {
    Workspace workspace;
    addSalaries(workspace);
    runModule<Tfrm_sjcx>([&](Tfrm_sjcx &window) {
        Filters filters;
        filters.number = "2147483648";
        filters.apply(window);
        window.SpeedButton1->click();
    });
    QCOMPARE(workspace.shownMessages().size(), 1);
    QCOMPARE(workspace.shownMessages().first().kind, Messages::Kind::Error);
    QVERIFY(workspace.shownTexts().first().contains("2147483648"));
    QVERIFY(!DM->AQ1.isOpen());
}

void SalaryQueryTest::filterChangeEmptiesGridsAndReport_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("value"); // a spin box's new value
    const QList<std::pair<const char *, int>> controls{{"e_n", 2006}, {"e_y", 2},  {"e_n1", 2006},
                                                       {"e_y1", 11},  {"c_bm", 0}, {"e_bh", 0},
                                                       {"e_xm", 0},   {"e_zw", 0}};
    for (const auto &[control, value] : controls)
        QTest::newRow(control) << QString(control) << value;
}

void SalaryQueryTest::filterChangeEmptiesGridsAndReport() {
    QFETCH(QString, control);
    QFETCH(int, value);
    Workspace workspace;
    addSalaries(workspace);
    int rowsBefore = 0;
    int rowsAfter = -1;
    PreviewDriver driver;
    runModule<Tfrm_sjcx>([&](Tfrm_sjcx &window) {
        Filters().apply(window);
        window.SpeedButton1->click();
        rowsBefore = window.RxDBGrid2->model()->rowCount();
        if (auto *box = window.findChild<SpinEdit *>(control))
            box->setValue(value);
        else if (auto *edit = window.findChild<QLineEdit *>(control))
            edit->setText("1");
        else
            window.c_bm->setCurrentIndex(1);
        rowsAfter = window.RxDBGrid2->model()->rowCount();
        window.SpeedButton8->click();
    });
    QCOMPARE(rowsBefore, 5);
    QCOMPARE(rowsAfter, 0);
    QVERIFY(!DM->AQ1.isOpen());
    QCOMPARE(driver.shown(), 0);
}

void SalaryQueryTest::gridsDeleteNothing() {
    Workspace workspace;
    addSalaries(workspace);
    runModule<Tfrm_sjcx>([&](Tfrm_sjcx &window) {
        Filters().apply(window);
        window.SpeedButton1->click();
        for (DBGrid *grid : {window.RxDBGrid1, window.RxDBGrid2}) {
            grid->setFocus();
            QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
            QTest::keyClick(grid, Qt::Key_Delete);
            QVERIFY(!(grid->model()->flags(grid->model()->index(0, 0)) & Qt::ItemIsEditable));
        }
    });
    openLines(DM->AQ2, {"select count(*) as n from GZB"});
    QCOMPARE(DM->AQ2.field("n").asInteger(), 6);
    QVERIFY(workspace.shownTexts().isEmpty());
}

void SalaryQueryTest::reportTotalsTheRowsFound() {
    Workspace workspace;
    addSalaries(workspace);
    const QString path = workspace.path() + "/query.pdf";
    QString suggested;
    PreviewDriver driver(
        [&](PreviewDialog &preview) { suggested = PreviewDriver::save(preview, "导出PDF", path); });
    runModule<Tfrm_sjcx>([&](Tfrm_sjcx &window) {
        Filters filters;
        filters.department = 1; // 办公室: 7800 + 4600 basic pay, 50 overtime, 100 tax
        filters.apply(window);
        window.SpeedButton1->click();
        window.SpeedButton8->click();
    });
    QCOMPARE(driver.shown(), 1);
    QCOMPARE(suggested, QStringLiteral("数据查询_2005年1月至2005年12月.pdf"));
    const QString text = pdfText(path);
    // The totals row is the only line with the office's basic pay total.
    const QStringList lines = text.split('\n');
    const auto totals = std::find_if(lines.begin(), lines.end(),
                                     [](const QString &line) { return line.contains("12400.00"); });
    QVERIFY2(totals != lines.end(), qPrintable(text));
    QCOMPARE(totals->simplified(),
             QStringLiteral("12400.00 0.00 50.00 12450.00 100.00 100.00 12350.00"));
    QVERIFY2(text.contains("数 据 查 询 结 果") && text.contains("张建国") &&
                 !text.contains("陈明"),
             qPrintable(text));
}

QTEST_MAIN(SalaryQueryTest)
#include "test_sjcx.moc"
