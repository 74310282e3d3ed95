// The tax declaration workbook of a saved month, read back by an independent reader: the
// client's headings and order, one row per employee with an identity number, the month's
// figures and the year's special deductions; the client's own template; employees who cannot
// be declared.
#include "declarationdialog.h"
#include "declarationmapping.h"
#include "declarationmappingdialog.h"
#include "declarationtemplate.h"
#include "filedialoganswer.h"
#include "filesizelimit.h"
#include "modulerun.h"
#include "operator.h"
#include "sheetreader.h"
#include "spinedit.h"
#include "taxdeclaration.h"
#include "templateworkbook.h"
#include "workspace.h"

#include <QComboBox>
#include <QJsonObject>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

namespace {

Currency amountIn(const QJsonValue &cell) {
    return Currency::fromDouble(cell.toObject()["v"].toDouble());
}

Currency amountOf(const QString &text) {
    return Currency::fromText(text).value_or(Currency());
}

// The sheet's rows by identity number, each cell by heading.
std::map<QString, std::map<QString, QJsonValue>> rowsByNumber(const QJsonArray &sheet) {
    std::map<QString, std::map<QString, QJsonValue>> rows;
    const QJsonArray headings = sheet.first().toArray();
    int number = -1;
    for (int column = 0; column < headings.size(); ++column)
        if (headings[column].toObject()["v"].toString().endsWith("证件号码"))
            number = column;
    for (int line = 1; line < sheet.size() - 1; ++line) {
        const QJsonArray cells = sheet[line].toArray();
        auto &row = rows[cells[number].toObject()["v"].toString()];
        for (int column = 0; column < headings.size(); ++column)
            row[headings[column].toObject()["v"].toString()] =
                column < cells.size() ? cells[column] : QJsonValue();
    }
    return rows;
}

// November 2026, the demo's last month, closed: its files are made without a question.
void closeNovember(const Workspace &workspace) {
    workspace.exec("insert into GZJZ (ny) values ('202611')");
}

// Runs the declaration window on November 2026 (the demo's last month) with `templatePath`,
// answering the list of employees without a number with `accept` and the file dialog with
// `path`.
void exportThroughWindow(const QString &path, const QString &templatePath = QString()) {
    runModule<TaxDeclarationDialog>([&](TaxDeclarationDialog &window) {
        QCOMPARE(window.e_n->value(), 2026);
        QCOMPARE(window.e_y->value(), 11);
        window.e_mb->setText(templatePath);
        answerFileDialog([&] { window.b_dc->click(); }, path);
    });
}

} // namespace

class TaxDeclarationTest : public QObject {
    Q_OBJECT
private slots:
    void guessedHeadings_data();
    void guessedHeadings();
    void demoMonthReadBack();
    void yearEndBonusTaxedApartHasItsOwnSheet_data();
    void yearEndBonusTaxedApartHasItsOwnSheet();
    void yearToDateSpecialDeductions_data();
    void yearToDateSpecialDeductions();
    void mappingSetByTheClerk();
    void templateHeadings_data();
    void templateHeadings();
    void templateThatCannotBeReadIsNamed_data();
    void templateThatCannotBeReadIsNamed();
    void templateFillsTheColumnsItKnows();
    void employeesWithoutNumberListedFirst_data();
    void employeesWithoutNumberListedFirst();
    void failedExportLeavesNoFile();
    void monthNotSavedIsNamed();
};

void TaxDeclarationTest::guessedHeadings_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("deduction");
    QTest::addColumn<int>("method"); // -1 none, else Method
    QTest::addColumn<int>("rate");   // ten-thousandths of a percent
    QTest::addColumn<bool>("housingFund");
    QTest::addColumn<bool>("flag"); // pre-tax for a deduction, untaxed for an earning
    QTest::addColumn<QString>("heading");
    const int none = -1, byHand = int(Method::ByHand), percentage = int(Method::Percentage),
              tax = int(Method::IncomeTax);
    QTest::newRow("earning") << "基本工资" << false << none << 0 << false << false << "本期收入";
    QTest::newRow("untaxed earning")
        << "独生子女费" << false << byHand << 0 << false << true << "本期免税收入";
    QTest::newRow("pension by name")
        << "养老保险" << true << none << 0 << false << false << "基本养老保险费";
    QTest::newRow("medical by name")
        << "医保" << true << byHand << 0 << false << true << "基本医疗保险费";
    QTest::newRow("unemployment by name")
        << "失业金" << true << none << 0 << false << false << "失业保险费";
    QTest::newRow("housing fund by base")
        << "公积" << true << percentage << 120000 << true << true << "住房公积金";
    QTest::newRow("housing fund by name")
        << "住房公积金" << true << none << 0 << false << false << "住房公积金";
    QTest::newRow("annuity, not pension")
        << "职业年金（养老）" << true << percentage << 40000 << false << true << "企业(职业)年金";
    QTest::newRow("pension by rate")
        << "社保一" << true << percentage << 80000 << false << true << "基本养老保险费";
    QTest::newRow("medical by rate")
        << "社保二" << true << percentage << 20000 << false << true << "基本医疗保险费";
    QTest::newRow("unemployment by rate")
        << "社保三" << true << percentage << 5000 << false << true << "失业保险费";
    QTest::newRow("other rate, before tax")
        << "社保四" << true << percentage << 30000 << false << true << "其他";
    QTest::newRow("income tax") << "个人所得税" << true << tax << 0 << false << false << "";
    QTest::newRow("deduction after tax")
        << "事假扣款" << true << byHand << 0 << false << false << "";
    QTest::newRow("deduction before tax")
        << "工会会费" << true << byHand << 0 << false << true << "其他";
    QTest::newRow("donation") << "慈善捐赠" << true << none << 0 << false << false
                              << "准予扣除的捐赠额";
}

void TaxDeclarationTest::guessedHeadings() {
    QFETCH(QString, name);
    QFETCH(bool, deduction);
    QFETCH(int, method);
    QFETCH(int, rate);
    QFETCH(bool, housingFund);
    QFETCH(bool, flag);
    QFETCH(QString, heading);
    std::optional<ItemMethod> settings;
    if (method >= 0) {
        settings = ItemMethod();
        settings->method = Method(method);
        settings->contribution.initial.rate = Percentage::fromUnits(rate);
        settings->base =
            housingFund ? ContributionBase::HousingFund : ContributionBase::SocialInsurance;
        settings->preTax = deduction && flag;
        settings->untaxed = !deduction && flag;
    }
    QCOMPARE(guessedHeading(name, deduction, settings), heading);
}

// The demo's items are guessed: earnings are income, the four contributions their columns,
// the tax and the leave deduction are not declared.
void TaxDeclarationTest::demoMonthReadBack() {
    Workspace workspace(Workspace::Database::Demo);
    closeNovember(workspace);
    const QString path = workspace.path() + "/申报.xlsx";
    exportThroughWindow(path);
    QCOMPARE(workspace.shownTexts().size(), 1);
    QVERIFY2(workspace.shownTexts().first().startsWith("个税申报表已导出，共13人"),
             qPrintable(workspace.shownTexts().first()));

    const QJsonArray sheet = readSheetBack(path);
    QStringList headings;
    for (const QJsonValue &cell : sheet.first().toArray())
        headings << cell.toObject()["v"].toString();
    QCOMPARE(headings, declarationHeadings());
    QCOMPARE(headings.size(), 24);
    const auto rows = rowsByNumber(sheet);

    const QStringList stored =
        fileRows("select b.zjhm, a.ygh, a.xm, a.f1+a.f2+a.f3+a.f4 as sr, a.k1, a.k2, a.k3, a.k4 "
                 "from GZB as a join YGZJ as b on b.ygh=a.ygh where a.ny='202611' order by a.ygh");
    QCOMPARE(int(rows.size()), stored.size());
    for (const QString &line : stored) {
        const QStringList v = line.split('|');
        QVERIFY2(rows.count(v[0]), qPrintable(line));
        const auto &row = rows.at(v[0]);
        QCOMPARE(row.at("*证件号码").toObject()["t"].toString(), "s");
        QCOMPARE(row.at("工号").toObject()["v"].toString(), v[1]);
        QCOMPARE(row.at("*姓名").toObject()["v"].toString(), v[2]);
        QCOMPARE(row.at("*证件类型").toObject()["v"].toString(), "居民身份证");
        QCOMPARE(amountIn(row.at("本期收入")), amountOf(v[3]));
        QCOMPARE(amountIn(row.at("基本养老保险费")), amountOf(v[4]));
        QCOMPARE(amountIn(row.at("基本医疗保险费")), amountOf(v[5]));
        QCOMPARE(amountIn(row.at("失业保险费")), amountOf(v[6]));
        QCOMPARE(amountIn(row.at("住房公积金")), amountOf(v[7]));
        QCOMPARE(row.at("本期收入").toObject()["fmt"].toString(), "0.00");
        QCOMPARE(amountIn(row.at("减免税额")), Currency());
    }
    // Every demo deduction runs from January: eleven months of it by November.
    const QStringList deductions =
        fileRows("select b.zjhm, a.lb, a.je from YGZXKC as a join YGZJ as b on b.ygh=a.ygh "
                 "order by a.bh");
    QVERIFY(!deductions.isEmpty());
    for (const QString &line : deductions) {
        const QStringList v = line.split('|');
        QCOMPARE(amountIn(rows.at(v[0]).at("累计" + v[1])),
                 Currency::fromDouble(amountOf(v[2]).toDouble() * 11));
    }
    QCOMPARE(amountIn(rows.begin()->second.at("累计继续教育")), Currency());
}

// A year-end bonus taxed apart leaves the month's wages for the client's bonus sheet; one the
// employee has taxed with the pay that year stays in the wages.
void TaxDeclarationTest::yearEndBonusTaxedApartHasItsOwnSheet_data() {
    QTest::addColumn<bool>("withPay");
    QTest::newRow("taxed apart") << false;
    QTest::newRow("taxed with the pay") << true;
}

void TaxDeclarationTest::yearEndBonusTaxedApartHasItsOwnSheet() {
    QFETCH(bool, withPay);
    Workspace workspace(Workspace::Database::Demo);
    const Currency wages = readDeclaration(DM->ADC, "202611", readDeclarationMapping(DM->ADC))
                               .rows.front()
                               .amounts.at("本期收入");
    workspace.exec("update GZB set f5=200000000 where ny='202611' and ygh=1"); // 20,000.00
    if (withPay)
        workspace.exec("insert into YGNDSZ (ygh,nd,nzjhb) values (1,'2026',1)");
    const Declaration declaration =
        readDeclaration(DM->ADC, "202611", readDeclarationMapping(DM->ADC));
    const Currency bonus = Currency::fromYuan(20000);
    QCOMPARE(declaration.rows.front().employee, 1);
    QCOMPARE(declaration.rows.front().amounts.at("本期收入"), withPay ? wages + bonus : wages);
    QCOMPARE(int(declaration.bonusRows.size()), withPay ? 0 : 1);
    if (withPay)
        return;

    const QString path = workspace.path() + "/年终奖.xlsx";
    QCOMPARE(writeBonusDeclaration(path, declaration), path);
    const QJsonArray sheet = readSheetBack(path);
    QStringList headings;
    for (const QJsonValue &cell : sheet.first().toArray())
        headings << cell.toObject()["v"].toString();
    QCOMPARE(headings, bonusHeadings());
    const QJsonArray row = sheet[1].toArray();
    QCOMPARE(row[0].toObject()["v"].toString(), "1");
    QCOMPARE(row[3].toObject()["v"].toString(), declaration.rows.front().documentNumber);
    QCOMPARE(amountIn(row[4]), bonus);
}

void TaxDeclarationTest::yearToDateSpecialDeductions_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("through");
    QTest::addColumn<QStringList>("paid");
    QTest::addColumn<QString>("opening"); // "2026/2": a year and its months before the program
    QTest::addColumn<int>("months");      // of 1,000.00 each, through June 2026
    const QStringList halfYear = {"202601", "202602", "202603", "202604", "202605", "202606"};
    QTest::newRow("all year") << "202601"
                              << "" << halfYear << "" << 6;
    QTest::newRow("from March") << "202603"
                                << "" << halfYear << "" << 4;
    QTest::newRow("through March") << "202601"
                                   << "202603" << halfYear << "" << 3;
    QTest::newRow("from last year") << "202511"
                                    << "" << (QStringList{"202512"} + halfYear) << "" << 6;
    QTest::newRow("unpaid months") << "202601"
                                   << "" << QStringList{"202601", "202605", "202606"} << "" << 3;
    QTest::newRow("later months") << "202601"
                                  << "" << (halfYear + QStringList{"202607"}) << "" << 6;
    QTest::newRow("opening months") << "202601"
                                    << "" << halfYear.mid(2) << "2026/2" << 6;
    QTest::newRow("opening of last year") << "202601"
                                          << "" << halfYear.mid(2) << "2025/2" << 4;
}

void TaxDeclarationTest::yearToDateSpecialDeductions() {
    QFETCH(QString, from);
    QFETCH(QString, through);
    QFETCH(QStringList, paid);
    QFETCH(QString, opening);
    QFETCH(int, months);
    Workspace workspace;
    workspace.exec(
        "insert into YGZD (xm,xb,csrq,bmh,zt) values ('林晓梅','女','1982- 5-20',1,'1')");
    workspace.exec("insert into YGZJ (ygh,zjhm) values (1,'440300198205205128')");
    workspace.exec("insert into YGZXKC (ygh,lb,je,qsny,zzny) values (1,'住房租金',10000000,'" +
                   from + "'," + (through.isEmpty() ? "null" : "'" + through + "'") + ")");
    if (!opening.isEmpty())
        workspace.exec("insert into YGJS (ygh,qcnd,qcys) values (1,'" + opening.section('/', 0, 0) +
                       "'," + opening.section('/', 1) + ")");
    for (const QString &month : paid)
        workspace.exec("insert into GZB (ny,ygh,xm) values ('" + month + "',1,'林晓梅')");
    const Declaration declaration = readDeclaration(DM->ADC, "202606", {});
    QCOMPARE(int(declaration.rows.size()), 1);
    QCOMPARE(declaration.rows.front().amounts.at("累计住房租金"),
             Currency::fromYuan(1000 * months));
}

// The clerk's choice is remembered; a deduction set against income lowers it, and the
// employee's other monthly deductions count under 其他.
void TaxDeclarationTest::mappingSetByTheClerk() {
    Workspace workspace(Workspace::Database::Demo);
    runModule<DeclarationMappingDialog>([&](DeclarationMappingDialog &dialog) {
        QCOMPARE(dialog.t_xm->rowCount(), 11);
        const auto headingOf = [&dialog](const QString &item) {
            for (int row = 0; row < dialog.t_xm->rowCount(); ++row)
                if (dialog.t_xm->item(row, 0)->text() == item)
                    return dialog.headingBox(row);
            return static_cast<QComboBox *>(nullptr);
        };
        QVERIFY(headingOf("事假扣款") && headingOf("养老保险") && headingOf("岗位津贴"));
        QCOMPARE(headingOf("事假扣款")->currentText(), "其他"); // taken before tax
        QCOMPARE(headingOf("养老保险")->currentText(), "基本养老保险费");
        headingOf("事假扣款")->setCurrentText("本期收入");
        headingOf("岗位津贴")->setCurrentText("本期免税收入");
        dialog.b_ok->click();
    });
    QCOMPARE(fileRows("select count(*) from GSSBXM"), QStringList{"11"});
    QCOMPARE(fileRows("select lm from GSSBXM where xmbh=10"), QStringList{"本期收入"});
    workspace.exec("update YGJS set qtkc=2000000 where ygh=1");

    const std::vector<MappedItem> items = readDeclarationMapping(DM->ADC);
    QVERIFY(
        std::none_of(items.begin(), items.end(), [](const MappedItem &i) { return i.guessed; }));
    const Declaration declaration = readDeclaration(DM->ADC, "202611", items);
    const QStringList stored = fileRows(
        "select f1+f2+f3+f4 as sr, f2 as f_h, k6 as k_h from GZB where ny='202611' and ygh=1");
    const QStringList v = stored.first().split('|');
    const DeclarationRow &first = declaration.rows.front();
    QCOMPARE(first.employee, 1);
    QCOMPARE(first.amounts.at("本期收入"), amountOf(v[0]) - amountOf(v[2]));
    QCOMPARE(first.amounts.at("本期免税收入"), amountOf(v[1]));
    QCOMPARE(first.amounts.at("其他"), Currency::fromYuan(200));
}

void TaxDeclarationTest::templateHeadings_data() {
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<bool>("inlineStrings");
    QTest::addColumn<QStringList>("headings");
    QTest::newRow("shared strings") << QStringList{"工号", "*姓名", "本期收入"} << false
                                    << QStringList{"工号", "*姓名", "本期收入"};
    QTest::newRow("a gap") << QStringList{"工号", "", "本期收入"} << false
                           << QStringList{"工号", "", "本期收入"};
    QTest::newRow("inline strings, a gap")
        << QStringList{"*姓名", "", "", "备注"} << true << QStringList{"*姓名", "", "", "备注"};
    QTest::newRow("markup in a heading") << QStringList{"a<b&c"} << true << QStringList{"a<b&c"};
}

void TaxDeclarationTest::templateHeadings() {
    QFETCH(QStringList, cells);
    QFETCH(bool, inlineStrings);
    QFETCH(QStringList, headings);
    QTemporaryDir folder;
    const QString path = folder.filePath("模板.xlsx");
    makeWorkbook(path, cells, inlineStrings);
    QCOMPARE(readTemplateHeadings(path), headings);
}

void TaxDeclarationTest::templateThatCannotBeReadIsNamed_data() {
    QTest::addColumn<QString>("file"); // text, empty, swollen or none
    QTest::addColumn<QString>("reason");
    QTest::newRow("not a workbook") << "text"
                                    << "不是Excel工作簿";
    QTest::newRow("no headings") << "empty"
                                 << "第一张工作表的第一行是空的，没有列标题。";
    QTest::newRow("swollen") << "swollen"
                             << "已损坏，无法读取";
    QTest::newRow("no file") << "none"
                             << "找不到文件";
}

// The clerk reads why, and nothing is written.
void TaxDeclarationTest::templateThatCannotBeReadIsNamed() {
    QFETCH(QString, file);
    QFETCH(QString, reason);
    Workspace workspace(Workspace::Database::Demo);
    const QString templatePath = workspace.path() + "/模板.xlsx";
    if (file == "text") {
        QFile text(templatePath);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("工号,姓名\n");
    } else if (file == "empty") {
        makeWorkbook(templatePath, {});
    } else if (file == "swollen") {
        makeSwollenWorkbook(templatePath);
    }
    runModule<TaxDeclarationDialog>([&](TaxDeclarationDialog &window) {
        window.e_mb->setText(templatePath);
        window.b_dc->click();
    });
    QCOMPARE(workspace.shownTexts().size(), 1);
    const QString shown = workspace.shownTexts().first();
    QVERIFY2(shown.startsWith("申报模板无法读取：") && shown.contains(reason), qPrintable(shown));
    QCOMPARE(QDir(workspace.path()).entryList({"*.xlsx"}, QDir::Files | QDir::Hidden),
             file == "none" ? QStringList() : QStringList{"模板.xlsx"});
}

void TaxDeclarationTest::templateFillsTheColumnsItKnows() {
    Workspace workspace(Workspace::Database::Demo);
    closeNovember(workspace);
    const QString templatePath = workspace.path() + "/模板.xlsx";
    const QStringList cells = {"*证件号码", "姓名", "所得项目", "企业（职业）年金",
                               "本期收入",  "",     "备注",     "累计赡养老人"};
    makeWorkbook(templatePath, cells);
    const QString path = workspace.path() + "/申报.xlsx";
    exportThroughWindow(path, templatePath);
    QCOMPARE(workspace.shownTexts().size(), 1);
    QVERIFY2(
        workspace.shownTexts().first().endsWith("模板中以下各列程序无法填写，已留空：\n所得项目"),
        qPrintable(workspace.shownTexts().first()));

    const QJsonArray sheet = readSheetBack(path);
    QStringList headings;
    for (const QJsonValue &cell : sheet.first().toArray())
        headings << cell.toObject()["v"].toString();
    QCOMPARE(headings, cells);
    const auto rows = rowsByNumber(sheet);
    QCOMPARE(int(rows.size()), 13);
    const QStringList chen =
        fileRows("select b.zjhm, a.f1+a.f2+a.f3+a.f4 as sr from GZB as a "
                 "join YGZJ as b on b.ygh=a.ygh where a.ny='202611' and a.ygh=5");
    const QStringList v = chen.first().split('|');
    const auto &row = rows.at(v[0]);
    QCOMPARE(row.at("姓名").toObject()["v"].toString(), "陈明");
    QCOMPARE(amountIn(row.at("本期收入")), amountOf(v[1]));
    QCOMPARE(amountIn(row.at("累计赡养老人")), Currency::fromYuan(3000 * 11));
    QCOMPARE(amountIn(row.at("企业（职业）年金")), Currency());
    QVERIFY(row.at("所得项目").toObject()["v"].isNull());
    QVERIFY(row.at("备注").toObject()["v"].isNull());
}

void TaxDeclarationTest::employeesWithoutNumberListedFirst_data() {
    QTest::addColumn<bool>("accept");
    QTest::newRow("declined") << false;
    QTest::newRow("accepted") << true;
}

void TaxDeclarationTest::employeesWithoutNumberListedFirst() {
    QFETCH(bool, accept);
    Workspace workspace(Workspace::Database::Demo);
    closeNovember(workspace);
    workspace.exec("delete from YGZJ where ygh in (5,7)");
    workspace.exec("update YGZJ set zjhm=null where ygh=14");
    workspace.answerConfirmations({accept});
    const QString path = workspace.path() + "/申报.xlsx";
    exportThroughWindow(path);
    QCOMPARE(workspace.shownMessages().first().kind, Messages::Kind::Confirmation);
    QCOMPARE(workspace.shownTexts().first(),
             "以下员工没有证件号码，不能申报：\n5 陈明\n7 赵磊\n14 林晓梅\n\n是否导出其余10人？");
    QCOMPARE(QFile::exists(path), accept);
    QCOMPARE(QDir(workspace.path()).entryList(QDir::Files | QDir::Hidden).filter("申报").size(),
             accept ? 1 : 0);
    if (accept)
        QCOMPARE(readSheetBack(path).size(), 1 + 10 + 1);
    else
        QCOMPARE(workspace.shownTexts().last(), "个税申报表没有导出。");
}

// A disk that fills up while the file is written: the clerk reads why, in Chinese, and nothing
// is left.
void TaxDeclarationTest::failedExportLeavesNoFile() {
    Workspace workspace(Workspace::Database::Demo);
    closeNovember(workspace);
    const QString folder = workspace.path() + "/申报";
    QVERIFY(QDir().mkdir(folder));
    const QString path = folder + "/申报.xlsx";
    runModule<TaxDeclarationDialog>([&](TaxDeclarationDialog &window) {
        const FileSizeLimit diskFull(2048);
        answerFileDialog([&] { window.b_dc->click(); }, path);
    });
    QCOMPARE(workspace.shownMessages().size(), 1);
    QCOMPARE(workspace.shownMessages().first().kind, Messages::Kind::Error);
    QVERIFY2(workspace.shownTexts().first().contains("文件没有保存"),
             qPrintable(workspace.shownTexts().first()));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TaxDeclarationTest::monthNotSavedIsNamed() {
    Workspace workspace(Workspace::Database::Demo);
    runModule<TaxDeclarationDialog>([&](TaxDeclarationDialog &window) {
        window.e_y->setValue(12);
        window.b_dc->click();
    });
    QCOMPARE(workspace.shownTexts(), QStringList{"2026年12月没有保存的工资数据！"});
    QCOMPARE(QDir(workspace.path()).entryList({"*.xlsx"}, QDir::Files | QDir::Hidden),
             QStringList());
}

QTEST_MAIN(TaxDeclarationTest)
#include "test_taxdeclaration.moc"
