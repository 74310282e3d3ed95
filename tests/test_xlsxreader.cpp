// Reading .xlsx workbooks: cells as the file stores them (shared and inline strings, numbers
// as their text, formulas by their last value), number texts and date serials read exactly,
// sheets hidden and merged areas reported, and every hostile or broken file refused with a
// Chinese message instead of being read on.
#include "sheetcell.h"
#include "spreadsheeterror.h"
#include "xlsxfixture.h"
#include "xlsxpackage.h"
#include "xlsxworkbook.h"

#include <QTemporaryDir>
#include <QTest>
#include <xlsxwriter.h>

Q_DECLARE_METATYPE(SheetCell::Kind)

namespace {

struct Fixtures {
    QTemporaryDir folder;
    QString shared = folder.filePath("shared.xlsx");
    QString inlined = folder.filePath("inline.xlsx");
};

// Row 1 of each kind of cell, in both string storages.
void writeCells(const QString &path, bool inlineStrings) {
    XlsxFixture book(path, inlineStrings);
    lxw_worksheet *sheet = book.sheet("工资");
    worksheet_write_string(sheet, 0, 0, "张三", nullptr);
    worksheet_write_number(sheet, 0, 1, 1234.56, nullptr);
    worksheet_write_formula_num(sheet, 0, 2, "=B1*2", nullptr, 2469.12);
    worksheet_write_formula_str(sheet, 0, 3, "=\"a\"&\"b\"", nullptr, "ab");
    worksheet_write_boolean(sheet, 0, 4, 1, nullptr);
    lxw_datetime birth = {1980, 5, 1, 0, 0, 0};
    worksheet_write_datetime(sheet, 0, 5, &birth, nullptr);
    worksheet_write_number(sheet, 0, 7, 110101199003077777.0, nullptr);
    worksheet_write_string(sheet, 2, 1, "第三行", nullptr);
    QVERIFY(book.close());
}

QList<SheetRow> allRows(const XlsxWorkbook &book, int sheet = 0) {
    QList<SheetRow> rows;
    book.readSheet(sheet, [&](const SheetRow &row) { rows << row; });
    return rows;
}

} // namespace

class XlsxReaderTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void readsCellsAsStored_data();
    void readsCellsAsStored();
    void keepsRowNumbersAcrossGaps();
    void joinsRunsWithoutPhoneticGuides();
    void readsNumberTextsExactly_data();
    void readsNumberTextsExactly();
    void readsDateSerials_data();
    void readsDateSerials();
    void reportsHiddenSheetsMergesAndDateSystem();
    void readsLegacyWorkbooks_data();
    void readsLegacyWorkbooks();
    void refusesHostileFiles_data();
    void refusesHostileFiles();

private:
    Fixtures m_fixtures;
};

void XlsxReaderTest::initTestCase() {
    writeCells(m_fixtures.shared, false);
    writeCells(m_fixtures.inlined, true);
}

void XlsxReaderTest::readsCellsAsStored_data() {
    QTest::addColumn<bool>("inlineStrings");
    QTest::addColumn<int>("column");
    QTest::addColumn<SheetCell::Kind>("kind");
    QTest::addColumn<QString>("text");
    for (const bool inlined : {false, true}) {
        const QByteArray storage = inlined ? "inline strings: " : "shared strings: ";
        QTest::newRow(storage + "text") << inlined << 0 << SheetCell::Kind::Text << "张三";
        QTest::newRow(storage + "number as written")
            << inlined << 1 << SheetCell::Kind::Number << "1234.56";
        QTest::newRow(storage + "formula by its value")
            << inlined << 2 << SheetCell::Kind::Number << "2469.12";
        QTest::newRow(storage + "text formula by its value")
            << inlined << 3 << SheetCell::Kind::Text << "ab";
        QTest::newRow(storage + "boolean") << inlined << 4 << SheetCell::Kind::Boolean << "1";
        QTest::newRow(storage + "date as its serial")
            << inlined << 5 << SheetCell::Kind::Number << "29342";
        QTest::newRow(storage + "gap before a cell")
            << inlined << 6 << SheetCell::Kind::Empty << "";
        QTest::newRow(storage + "long number keeps the file's text")
            << inlined << 7 << SheetCell::Kind::Number << "1.101011990030778E+17";
    }
}

void XlsxReaderTest::readsCellsAsStored() {
    QFETCH(bool, inlineStrings);
    QFETCH(int, column);
    QFETCH(SheetCell::Kind, kind);
    QFETCH(QString, text);
    const XlsxWorkbook book(inlineStrings ? m_fixtures.inlined : m_fixtures.shared);
    const QList<SheetRow> rows = allRows(book);
    QVERIFY(!rows.isEmpty());
    const SheetCell cell = rows.first().cell(column);
    QCOMPARE(cell.kind, kind);
    QCOMPARE(cell.text, text);
}

void XlsxReaderTest::keepsRowNumbersAcrossGaps() {
    for (const QString &path : {m_fixtures.shared, m_fixtures.inlined}) {
        const QList<SheetRow> rows = allRows(XlsxWorkbook(path));
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].number, 1);
        QCOMPARE(rows[1].number, 3);
        QCOMPARE(rows[1].cell(1).text, "第三行");
        QCOMPARE(rows[1].cell(0).kind, SheetCell::Kind::Empty);
    }
}

void XlsxReaderTest::joinsRunsWithoutPhoneticGuides() {
    const QString path = m_fixtures.folder.filePath("runs.xlsx");
    QFile::copy(m_fixtures.shared, path);
    QVERIFY(replacePart(path, "xl/sharedStrings.xml",
                        R"(<?xml version="1.0" encoding="UTF-8"?>
<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="2" uniqueCount="2">
<si><r><t>张</t></r><r><rPr><b/></rPr><t xml:space="preserve">三 </t></r><rPh sb="0" eb="1"><t>zhang</t></rPh></si>
<si><t>第三行</t></si></sst>)"));
    const QList<SheetRow> rows = allRows(XlsxWorkbook(path));
    QCOMPARE(rows.first().cell(0).text, "张三 ");
}

void XlsxReaderTest::readsNumberTextsExactly_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<qint64>("units");  // -1: no amount
    QTest::addColumn<QString>("whole"); // empty: no whole number

    QTest::newRow("amount") << "1234.56" << true << 2 << qint64(12345600) << "";
    QTest::newRow("negative") << "-0.5" << true << 1 << qint64(-5000) << "";
    QTest::newRow("whole") << "3000" << true << 0 << qint64(30000000) << "3000";
    QTest::newRow("binary tail rounded to 15 digits")
        << "0.30000000000000004" << true << 1 << qint64(3000) << "";
    QTest::newRow("tail rounding up carries")
        << "1234.5599999999999" << true << 2 << qint64(12345600) << "";
    QTest::newRow("exponent") << "1.5E-3" << true << 4 << qint64(15) << "";
    QTest::newRow("third decimal kept") << "12.345" << true << 3 << qint64(123450) << "";
    QTest::newRow("beyond ten-thousandths") << "0.00001" << true << 5 << qint64(-1) << "";
    QTest::newRow("ID number turned into a number")
        << "1.101011990030778E+17" << true << 0 << qint64(-1) << "110101199003078000";
    QTest::newRow("zero") << "0" << true << 0 << qint64(0) << "0";
    QTest::newRow("text") << "壹佰" << false << 0 << qint64(-1) << "";
    QTest::newRow("trailing letters") << "12abc" << false << 0 << qint64(-1) << "";
    QTest::newRow("lone point") << "." << false << 0 << qint64(-1) << "";
}

void XlsxReaderTest::readsNumberTextsExactly() {
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(int, decimals);
    QFETCH(qint64, units);
    QFETCH(QString, whole);
    const std::optional<SheetNumber> number = SheetNumber::parse(text);
    QCOMPARE(number.has_value(), isNumber);
    if (!number)
        return;
    QCOMPARE(number->decimals(), decimals);
    const std::optional<Currency> amount = number->toCurrency();
    QCOMPARE(amount ? amount->units() : -1, units);
    QCOMPARE(number->wholeText().value_or(QString()), whole);
}

void XlsxReaderTest::readsDateSerials_data() {
    QTest::addColumn<QString>("serial");
    QTest::addColumn<bool>("system1904");
    QTest::addColumn<QDate>("date"); // invalid: no date

    QTest::newRow("first day") << "1" << false << QDate(1900, 1, 1);
    QTest::newRow("before the fictitious leap day") << "59" << false << QDate(1900, 2, 28);
    QTest::newRow("the fictitious leap day") << "60" << false << QDate();
    QTest::newRow("after it") << "61" << false << QDate(1900, 3, 1);
    QTest::newRow("birthday") << "29342" << false << QDate(1980, 5, 1);
    QTest::newRow("time of day dropped") << "29342.75" << false << QDate(1980, 5, 1);
    QTest::newRow("zero") << "0" << false << QDate();
    QTest::newRow("negative") << "-5" << false << QDate();
    QTest::newRow("beyond 9999") << "3000000" << false << QDate();
    QTest::newRow("1904: day zero") << "0" << true << QDate(1904, 1, 1);
    QTest::newRow("1904: birthday") << "27880" << true << QDate(1980, 5, 1);
}

void XlsxReaderTest::readsDateSerials() {
    QFETCH(QString, serial);
    QFETCH(bool, system1904);
    QFETCH(QDate, date);
    const std::optional<QDate> read =
        sheetSerialDate(SheetNumber::parse(serial).value(), system1904);
    QCOMPARE(read.value_or(QDate()), date);
}

void XlsxReaderTest::reportsHiddenSheetsMergesAndDateSystem() {
    const QString path = m_fixtures.folder.filePath("sheets.xlsx");
    {
        XlsxFixture book(path);
        lxw_worksheet *shown = book.sheet("人员");
        worksheet_merge_range(shown, 0, 0, 0, 2, "人员名单", nullptr);
        worksheet_write_string(shown, 1, 0, "姓名", nullptr);
        lxw_worksheet *hidden = book.sheet("备用");
        worksheet_hide(hidden);
        QVERIFY(book.close());
    }
    QByteArray workbook;
    for (const auto &[name, content] : readZip(path))
        if (name == "xl/workbook.xml")
            workbook = content;
    workbook.replace("<workbookPr", "<workbookPr date1904=\"1\"");
    QVERIFY(replacePart(path, "xl/workbook.xml", workbook));

    const std::unique_ptr<Workbook> opened = openWorkbook(path);
    const Workbook &book = *opened;
    QVERIFY(book.uses1904());
    QCOMPARE(book.sheets().size(), 2);
    QCOMPARE(book.sheets()[0].name, "人员");
    QVERIFY(!book.sheets()[0].hidden);
    QCOMPARE(book.sheets()[1].name, "备用");
    QVERIFY(book.sheets()[1].hidden);

    const QList<MergedArea> merged = book.readSheet(0, [](const SheetRow &) {});
    QCOMPARE(merged.size(), 1);
    QCOMPARE(merged[0].reference, "A1:C1");
    QCOMPARE(merged[0].firstRow, 1);
    QCOMPARE(merged[0].lastColumn, 3);
    QVERIFY(!XlsxWorkbook(m_fixtures.shared).uses1904());
}

void XlsxReaderTest::readsLegacyWorkbooks_data() {
    QTest::addColumn<bool>("system1904");
    QTest::newRow("dates from 1900") << false;
    QTest::newRow("dates from 1904") << true;
}

void XlsxReaderTest::readsLegacyWorkbooks() {
    QFETCH(bool, system1904);
    const QString path = m_fixtures.folder.filePath("legacy.xls");
    QVERIFY(writeLegacyWorkbook(
        path, "工资", {{"编号", "姓名", "基本工资"}, {}, {"1", "张三", "1234.56"}}, system1904));
    const std::unique_ptr<Workbook> book = openWorkbook(path);
    QCOMPARE(book->sheets().size(), 1);
    QCOMPARE(book->sheets().first().name, "工资");
    QCOMPARE(book->uses1904(), system1904);
    QList<SheetRow> rows;
    book->readSheet(0, [&](const SheetRow &row) { rows << row; });
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[1].number, 3);
    QCOMPARE(rows[1].cell(0).kind, SheetCell::Kind::Number);
    QCOMPARE(rows[1].cell(0).text, "1");
    QCOMPARE(rows[1].cell(1).kind, SheetCell::Kind::Text);
    QCOMPARE(rows[1].cell(1).text, "张三");
    QCOMPARE(rows[1].cell(2).text, "1234.56");
}

void XlsxReaderTest::refusesHostileFiles_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("plain text") << "text"
                                << "已损坏";
    QTest::newRow("zip cut short") << "truncated"
                                   << "已损坏";
    QTest::newRow("zip with damaged data") << "damaged"
                                           << "已损坏";
    QTest::newRow("zip without a workbook") << "noworkbook"
                                            << "不是Excel工作簿";
    QTest::newRow("zip bomb") << "bomb"
                              << "解压后超过 1 MB";
    QTest::newRow("more rows than the limit") << "rows"
                                              << "超过 10 行";
    QTest::newRow("password-protected") << "encrypted"
                                        << "密码";
    QTest::newRow("damaged legacy workbook") << "legacy"
                                             << "旧版Excel工作簿";
    QTest::newRow("legacy workbook of more rows than the limit") << "legacyrows"
                                                                 << "超过 10 行";
    QTest::newRow("sheet not XML") << "badxml"
                                   << "已损坏";
    QTest::newRow("shared string beyond the table") << "badshared"
                                                    << "共享字符串";
    QTest::newRow("missing file") << "missing"
                                  << "找不到文件";
}

void XlsxReaderTest::refusesHostileFiles() {
    QFETCH(QString, kind);
    QFETCH(QString, message);
    const QString path = m_fixtures.folder.filePath(kind + ".xlsx");
    const QString sheetPart = "xl/worksheets/sheet1.xml";
    QFile::remove(path);
    auto writeFile = [&](const QByteArray &bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    auto sheetXml = [](const QByteArray &rows) {
        return "<?xml version=\"1.0\"?><worksheet "
               "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" +
               rows + "</sheetData></worksheet>";
    };
    QByteArray original;
    {
        QFile file(m_fixtures.shared);
        QVERIFY(file.open(QIODevice::ReadOnly));
        original = file.readAll();
    }
    const QByteArray compound("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    if (kind == "text") {
        writeFile("姓名,性别\n张三,男\n");
    } else if (kind == "truncated") {
        writeFile(original.left(original.size() / 2));
    } else if (kind == "damaged") {
        // Flip bytes inside the sheet's compressed data: the zip's directory stays whole.
        ZipParts parts = readZip(m_fixtures.shared);
        QByteArray bytes = original;
        const qsizetype at = bytes.indexOf(sheetPart.toUtf8()) + sheetPart.size() + 8;
        for (qsizetype i = at; i < at + 24 && i < bytes.size(); ++i)
            bytes[i] = char(bytes[i] ^ 0x5a);
        writeFile(bytes);
    } else if (kind == "noworkbook") {
        QVERIFY(writeZip(path, {{"readme.txt", "hello"}}));
    } else if (kind == "bomb") {
        QFile::copy(m_fixtures.shared, path);
        QVERIFY(replacePart(path, sheetPart, sheetXml(QByteArray(4 * 1024 * 1024, ' '))));
    } else if (kind == "rows") {
        QByteArray rows;
        for (int row = 1; row <= 11; ++row)
            rows += QByteArray("<row r=\"%1\"><c r=\"A%1\"><v>1</v></c></row>")
                        .replace("%1", QByteArray::number(row));
        QFile::copy(m_fixtures.shared, path);
        QVERIFY(replacePart(path, sheetPart, sheetXml(rows)));
    } else if (kind == "encrypted") {
        writeFile(compound + QByteArray(504, '\0') +
                  QByteArray("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32) +
                  QByteArray(1000, '\0'));
    } else if (kind == "legacy") {
        writeFile(compound + QByteArray(504, '\0') + QByteArray("W\0o\0r\0k\0b\0o\0o\0k\0", 16));
    } else if (kind == "legacyrows") {
        QList<QStringList> rows;
        for (int row = 0; row < 11; ++row)
            rows << QStringList{"1"};
        QVERIFY(writeLegacyWorkbook(path, "工资", rows));
    } else if (kind == "badxml") {
        QFile::copy(m_fixtures.shared, path);
        QVERIFY(replacePart(path, sheetPart, "<worksheet><sheetData><row><c>"));
    } else if (kind == "wide") {
        QFile::copy(m_fixtures.shared, path);
        QVERIFY(replacePart(
            path, sheetPart,
            sheetXml("<row r=\"1\">" + QByteArray("<c><v>1</v></c>").repeated(16385) + "</row>")));
    } else if (kind == "badshared") {
        QFile::copy(m_fixtures.shared, path);
        QVERIFY(replacePart(path, sheetPart,
                            sheetXml("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>99</v></c></row>")));
    }

    SheetLimits limits;
    limits.maxPartBytes = 1024 * 1024;
    limits.maxRows = 10;
    try {
        const std::unique_ptr<Workbook> book = openWorkbook(path, limits);
        book->readSheet(0, [](const SheetRow &) {});
        QFAIL("the file was read");
    } catch (const SpreadsheetError &error) {
        QVERIFY2(error.text().contains(message), qPrintable(error.text()));
    }
}

QTEST_GUILESS_MAIN(XlsxReaderTest)
#include "test_xlsxreader.moc"
