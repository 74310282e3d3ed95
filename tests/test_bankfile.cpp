// The bank's payment file of a saved month: who is paid and who is left out, every kind of
// file read back by an independent reader (Python's codecs, openpyxl), refusals that leave no
// file, and profiles that a second clerk's change is never overwritten in.
#include "bankfile.h"
#include "bankmonth.h"
#include "bankpayments.h"
#include "bankprofile.h"
#include "exportfile.h"
#include "filesizelimit.h"
#include "sheetreader.h"
#include "workspace.h"

#include <QDir>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

namespace {

std::vector<qint64> employees(const std::vector<BankPayment> &payments) {
    std::vector<qint64> numbers;
    for (const BankPayment &payment : payments)
        numbers.push_back(payment.employee);
    return numbers;
}

BankProfile starterProfile(const QString &name) {
    for (BankProfile &profile : readBankProfiles(DM->ADC))
        if (profile.name == name)
            return profile;
    QTest::qFail("no such starting profile", __FILE__, __LINE__);
    return {};
}

BankField field(BankFieldKind kind, const QString &caption, int width = 0, bool right = false,
                const QString &text = QString()) {
    return {kind, caption, text, width, right};
}

// The file as Python's codec of that name reads it; a byte the codec cannot read fails.
QString decoded(const QString &path, const QString &codec) {
    QProcess python;
    python.start("/usr/bin/python3",
                 {"-c",
                  "import sys; sys.stdout.buffer.write("
                  "open(sys.argv[1],'rb').read().decode(sys.argv[2]).encode('utf-8'))",
                  path, codec});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        QTest::qFail(qPrintable("python could not decode: " + python.readAllStandardError()),
                     __FILE__, __LINE__);
        return {};
    }
    return QString::fromUtf8(python.readAllStandardOutput());
}

QStringList filesIn(const QString &folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class BankFileTest : public QObject {
    Q_OBJECT
private slots:
    void unpayableEmployeesAreListedNotPaid();
    void textFileReadsBackAsTheBankReadsIt_data();
    void textFileReadsBackAsTheBankReadsIt();
    void workbookKeepsAccountsAsTextAndAmountsAsNumbers_data();
    void workbookKeepsAccountsAsTextAndAmountsAsNumbers();
    void refusedFileLeavesNothing_data();
    void refusedFileLeavesNothing();
    void unwritableFileLeavesNothing_data();
    void unwritableFileLeavesNothing();
    void profileChangedMeanwhileIsNotOverwritten();
};

void BankFileTest::unpayableEmployeesAreListedNotPaid() {
    Workspace workspace;
    addBankMonth(workspace);
    const BankBatch batch = readBankBatch(DM->ADC, "202603");
    QCOMPARE(employees(batch.payable), (std::vector<qint64>{1, 2}));
    QCOMPARE(employees(batch.withoutAccount), (std::vector<qint64>{3, 6}));
    QCOMPARE(employees(batch.notPositive), (std::vector<qint64>{4, 5}));
    QCOMPARE(batch.notPositive.back().amount, Currency::fromText(u"-50").value());
    QCOMPARE(batch.total(), Currency::fromText(u"15245.67").value());
    QCOMPARE(savedMonths(DM->ADC), (QStringList{"202604", "202603"}));
}

void BankFileTest::textFileReadsBackAsTheBankReadsIt_data() {
    QTest::addColumn<QString>("starter"); // a starting profile, or the one below
    QTest::addColumn<BankProfile>("profile");
    QTest::addColumn<QString>("codec");
    QTest::addColumn<QString>("text");

    QTest::newRow("GBK, fixed widths between bars, the count and total first")
        << "GBK定长文本" << BankProfile() << "gbk"
        << "2|15245.67\r\n"
           "0012345678          |张三                |       12345.67|工资      \r\n"
           "6222000011112222    |李四                |        2900.00|工资      \r\n";

    BankProfile csv;
    csv.name = "UTF-8分号";
    csv.kind = BankFileKind::Separated;
    csv.gbk = false;
    csv.separator = ";";
    csv.headerLines = {"单位：测试公司", "批次：三月"};
    csv.totalLine = BankTotalLine::Last;
    csv.fields = {field(BankFieldKind::Account, "卡号"),
                  field(BankFieldKind::Name, "姓名"),
                  field(BankFieldKind::Amount, "金额"),
                  field(BankFieldKind::Bank, "开户行"),
                  field(BankFieldKind::Document, "身份证"),
                  field(BankFieldKind::Mobile, "手机"),
                  field(BankFieldKind::Constant, "币种", 0, false, "人民币")};
    QTest::newRow("UTF-8 csv by semicolons, header lines, captions, the total last")
        << "" << csv << "utf-8"
        << "单位：测试公司\r\n批次：三月\r\n"
           "卡号;姓名;金额;开户行;身份证;手机;币种\r\n"
           "0012345678;张三;12345.67;工商银行;110101199001011234;13800000001;人民币\r\n"
           "6222000011112222;李四;2900.00;建设银行;110101199001015678;13800000002;人民币\r\n"
           "2;15245.67\r\n";

    BankProfile quoted;
    quoted.name = "GBK逗号";
    quoted.kind = BankFileKind::Separated;
    quoted.separator = ",";
    quoted.captionLine = false;
    quoted.fields = {field(BankFieldKind::Name, "户名"), field(BankFieldKind::Amount, "金额"),
                     field(BankFieldKind::Purpose, "用途", 0, false, "工资,\"三月\"")};
    QTest::newRow("GBK csv, a text holding the separator and quotes is quoted")
        << "" << quoted << "gbk"
        << "张三,12345.67,\"工资,\"\"三月\"\"\"\r\n"
           "李四,2900.00,\"工资,\"\"三月\"\"\"\r\n";

    BankProfile packed;
    packed.name = "UTF-8定长";
    packed.kind = BankFileKind::FixedWidth;
    packed.gbk = false;
    packed.captionLine = false;
    packed.totalLine = BankTotalLine::First;
    packed.fields = {field(BankFieldKind::Name, "户名", 8),
                     field(BankFieldKind::Amount, "金额", 10, true),
                     field(BankFieldKind::Account, "账号", 17, true)};
    QTest::newRow("UTF-8 fixed widths without separator: widths in UTF-8 bytes")
        << "" << packed << "utf-8"
        << "2 15245.67\r\n"
           "张三    12345.67       0012345678\r\n"
           "李四     2900.00 6222000011112222\r\n";
}

void BankFileTest::textFileReadsBackAsTheBankReadsIt() {
    QFETCH(QString, starter);
    QFETCH(BankProfile, profile);
    QFETCH(QString, codec);
    QFETCH(QString, text);
    Workspace workspace;
    addBankMonth(workspace);
    if (!starter.isEmpty())
        profile = starterProfile(starter);
    QVERIFY(bankProfileProblem(profile).isEmpty());
    const QString path = workspace.path() + "/bank.txt";
    QCOMPARE(writeBankFile(path, profile, readBankBatch(DM->ADC, "202603")), path);
    QCOMPARE(decoded(path, codec), text);
    QCOMPARE(filesIn(workspace.path()).filter("bank"), QStringList{"bank.txt"});
}

void BankFileTest::workbookKeepsAccountsAsTextAndAmountsAsNumbers_data() {
    QTest::addColumn<BankTotalLine>("totalLine");
    QTest::addColumn<int>("firstPayment"); // row of the sheet

    QTest::newRow("the common layout as it starts") << BankTotalLine::None << 1;
    QTest::newRow("with the count and total first") << BankTotalLine::First << 2;
    QTest::newRow("with the count and total last") << BankTotalLine::Last << 1;
}

void BankFileTest::workbookKeepsAccountsAsTextAndAmountsAsNumbers() {
    QFETCH(BankTotalLine, totalLine);
    QFETCH(int, firstPayment);
    Workspace workspace;
    addBankMonth(workspace);
    BankProfile profile = starterProfile("通用Excel格式");
    profile.totalLine = totalLine;
    const QString path = workspace.path() + "/bank.xlsx";
    writeBankFile(path, profile, readBankBatch(DM->ADC, "202603"));
    const QJsonArray sheet = readSheetBack(path);
    QCOMPARE(sheet.size(), 1 + 2 + (totalLine == BankTotalLine::None ? 0 : 1) + 1);

    const auto cell = [&](int row, int column) {
        return sheet.at(row).toArray().at(column).toObject();
    };
    QStringList captions;
    for (int column = 0; column < 4; ++column)
        captions << cell(0, column)["v"].toString();
    QCOMPARE(captions, (QStringList{"账号", "户名", "金额", "用途"}));
    QVERIFY(cell(0, 0)["bold"].toBool());

    QCOMPARE(cell(firstPayment, 0)["v"].toString(), QStringLiteral("0012345678"));
    QCOMPARE(cell(firstPayment, 0)["t"].toString(), QStringLiteral("s"));
    QCOMPARE(cell(firstPayment, 1)["v"].toString(), QStringLiteral("张三"));
    QCOMPARE(cell(firstPayment, 2)["t"].toString(), QStringLiteral("n"));
    QCOMPARE(cell(firstPayment, 2)["fmt"].toString(), QStringLiteral("0.00"));
    QCOMPARE(cell(firstPayment, 2)["v"].toDouble(), 12345.67);
    QCOMPARE(cell(firstPayment, 3)["v"].toString(), QStringLiteral("工资"));
    QCOMPARE(cell(firstPayment + 1, 2)["v"].toDouble(), 2900.0);
    if (totalLine == BankTotalLine::None)
        return;
    const int totalRow = totalLine == BankTotalLine::First ? 1 : 3;
    QCOMPARE(cell(totalRow, 0)["v"].toDouble(), 2.0);
    QCOMPARE(cell(totalRow, 1)["v"].toDouble(), 15245.67);
}

void BankFileTest::refusedFileLeavesNothing_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("starter");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<QString>("refusal"); // part of the message

    QTest::newRow("a name GBK cannot carry")
        << "update GZB set xm='李四😀' where ygh=2"
        << "GBK定长文本" << false << "员工“李四😀”（编号2）的户名“李四😀”含有GBK编码中没有的字符";
    QTest::newRow("an account wider than its field")
        << "update YGZJ set yhzh='123456789012345678901' where ygh=2"
        << "GBK定长文本" << false << "账号“123456789012345678901”超出字段宽度（20字节）";
    QTest::newRow("a name wider in UTF-8 than in GBK")
        << "update GZB set xm='欧阳娜娜娜娜娜' where ygh=2"
        << "GBK定长文本" << true << "户名“欧阳娜娜娜娜娜”超出字段宽度（20字节）";
    QTest::newRow("the separator inside a value of fixed widths")
        << "update YGZJ set yhzh='6222|0000' where ygh=2"
        << "GBK定长文本" << false << "含有分隔符“|”";
}

void BankFileTest::refusedFileLeavesNothing() {
    QFETCH(QString, change);
    QFETCH(QString, starter);
    QFETCH(bool, utf8);
    QFETCH(QString, refusal);
    Workspace workspace;
    addBankMonth(workspace);
    workspace.exec(change);
    BankProfile profile = starterProfile(starter);
    profile.gbk = !utf8;
    const QString path = workspace.path() + "/bank.txt";
    try {
        writeBankFile(path, profile, readBankBatch(DM->ADC, "202603"));
        QFAIL("the file was written");
    } catch (const BankFileRefused &refused) {
        QVERIFY2(QString::fromStdString(refused.what()).contains(refusal), refused.what());
    }
    QCOMPARE(filesIn(workspace.path()).filter("bank"), QStringList());
}

void BankFileTest::unwritableFileLeavesNothing_data() {
    QTest::addColumn<QString>("starter");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("sizeLimit"); // bytes a file may take; 0: no limit

    QTest::newRow("workbook, disk full while writing") << "通用Excel格式"
                                                       << "代发.xlsx" << 2048;
    QTest::newRow("text, disk full while writing") << "GBK定长文本"
                                                   << "代发.txt" << 64;
    QTest::newRow("text, missing folder") << "GBK定长文本"
                                          << "no such folder/代发.txt" << 0;
}

void BankFileTest::unwritableFileLeavesNothing() {
    QFETCH(QString, starter);
    QFETCH(QString, name);
    QFETCH(int, sizeLimit);
    Workspace workspace;
    addBankMonth(workspace);
    const BankProfile profile = starterProfile(starter);
    const BankBatch batch = readBankBatch(DM->ADC, "202603");
    const QStringList before = filesIn(workspace.path());
    const QString path = QDir(workspace.path()).filePath(name);
    try {
        const std::optional<FileSizeLimit> limit =
            sizeLimit > 0 ? std::make_optional<FileSizeLimit>(rlim_t(sizeLimit)) : std::nullopt;
        writeBankFile(path, profile, batch);
        QFAIL("the file was written");
    } catch (const ExportError &failed) {
        QVERIFY2(QString::fromStdString(failed.what()).startsWith(path + ": 文件没有保存。"),
                 failed.what());
    }
    QCOMPARE(filesIn(workspace.path()), before);
}

void BankFileTest::profileChangedMeanwhileIsNotOverwritten() {
    Workspace workspace;
    BankProfile profile = starterProfile("GBK定长文本");
    profile.name = "我的格式";
    profile.id = addBankProfile(DM->ADC, profile);
    QCOMPARE(readBankProfile(DM->ADC, profile.id), std::optional(profile));

    BankProfile mine = profile;
    mine.fields.pop_back();
    workspace.exec(
        QStringLiteral("update YHDFZD set kd=30 where gsbh=%1 and xh=1").arg(profile.id));
    QVERIFY(!storeBankProfile(DM->ADC, profile, mine));
    QVERIFY(!deleteBankProfile(DM->ADC, profile));
    const std::optional<BankProfile> theirs = readBankProfile(DM->ADC, profile.id);
    QVERIFY(theirs);
    QCOMPARE(theirs->fields.front().width, 30);
    QCOMPARE(theirs->fields.size(), profile.fields.size());

    mine = *theirs;
    mine.fields.pop_back();
    QVERIFY(storeBankProfile(DM->ADC, *theirs, mine));
    QCOMPARE(readBankProfile(DM->ADC, profile.id), std::optional(mine));
    QVERIFY(deleteBankProfile(DM->ADC, mine));
    QVERIFY(!readBankProfile(DM->ADC, profile.id));
}

QTEST_MAIN(BankFileTest)
#include "test_bankfile.moc"
