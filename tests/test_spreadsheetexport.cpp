// Reports written as spreadsheets, read back by an independent reader: the layout of the
// sheet, amounts as exact numbers, totals as formulas, and no half-written file on failure.
#include "data.h"
#include "sheetreader.h"
#include "spreadsheetexport.h"
#include "workspace.h"

#include <QFile>
#include <QJsonObject>
#include <QTest>

namespace {

// Two rows whose amounts add up in a way a float sum would not: 0.1 + 0.2 and 1.005 + 2.
void storeTwoRows(const Workspace &workspace) {
    workspace.exec("insert into GZB (ny,ygh,xm,bmmc,f1,f2,k1) "
                   "values ('202603',1,'张三','办公室',1000,10050,0)");
    workspace.exec("insert into GZB (ny,ygh,xm,bmmc,f1,f2,k1) "
                   "values ('202603',2,'李四','财务科',2000,20000,5000)");
}

SheetLayout queryLayout() {
    return {QStringLiteral("数据查询"),
            QStringLiteral("工资查询表"),
            {{QStringLiteral("年月"), QStringLiteral("ny"), false},
             {QStringLiteral("编号"), QStringLiteral("ygh"), false},
             {QStringLiteral("姓名"), QStringLiteral("xm"), false},
             {QStringLiteral("基本工资"), QStringLiteral("f1"), true},
             {QStringLiteral("岗位津贴"), QStringLiteral("f2"), true},
             {QStringLiteral("扣款"), QStringLiteral("k1"), true}},
            true};
}

void openMonth() {
    openLines(DM->AQ1, {"select * from GZB where ny='202603' order by ygh"});
}

QJsonObject cell(const QJsonArray &sheet, int row, int column) {
    return sheet.at(row).toArray().at(column).toObject();
}

} // namespace

class SpreadsheetExportTest : public QObject {
    Q_OBJECT
private slots:
    void sheetReadsBackAsWritten();
    void unwritableFileIsReportedAndLeavesNothing_data();
    void unwritableFileIsReportedAndLeavesNothing();
};

void SpreadsheetExportTest::sheetReadsBackAsWritten() {
    Workspace workspace;
    storeTwoRows(workspace);
    openMonth();
    const QString path = workspace.path() + QStringLiteral("/数据查询_202603.xlsx");
    exportSpreadsheet(path, queryLayout(), DM->AQ1);

    const QJsonArray sheet = readSheetBack(path);
    QCOMPARE(sheet.size(), 1 + 1 + 2 + 1 + 1); // title, header, rows, totals, panes
    QCOMPARE(cell(sheet, 0, 0)["v"].toString(), QStringLiteral("工资查询表"));
    QStringList captions;
    for (const QJsonValue &header : sheet.at(1).toArray()) {
        captions << header["v"].toString();
        QVERIFY(header["bold"].toBool());
    }
    QCOMPARE(captions, (QStringList{"年月", "编号", "姓名", "基本工资", "岗位津贴", "扣款"}));
    QCOMPARE(sheet.last()["frozen"].toString(), QStringLiteral("A3"));

    // Month keys and numbers are texts; amounts are numbers shown with two decimals.
    QCOMPARE(cell(sheet, 2, 0)["v"].toString(), QStringLiteral("202603"));
    QCOMPARE(cell(sheet, 2, 0)["t"].toString(), QStringLiteral("s"));
    QCOMPARE(cell(sheet, 2, 1)["t"].toString(), QStringLiteral("s"));
    QCOMPARE(cell(sheet, 2, 2)["v"].toString(), QStringLiteral("张三"));
    QCOMPARE(cell(sheet, 2, 2)["font"].toString(), QStringLiteral("宋体"));
    QCOMPARE(cell(sheet, 2, 3)["t"].toString(), QStringLiteral("n"));
    QCOMPARE(cell(sheet, 2, 3)["v"].toDouble(), 0.1);
    QCOMPARE(cell(sheet, 2, 4)["v"].toDouble(), 1.005);
    QCOMPARE(cell(sheet, 2, 4)["fmt"].toString(), QStringLiteral("0.00"));

    // Totals follow the figures above them, and show the exact sums until recalculated.
    const QJsonObject f1Total = cell(sheet, 4, 3);
    QCOMPARE(f1Total["v"].toString(), QStringLiteral("=SUM(D3:D4)"));
    QCOMPARE(f1Total["cached"].toDouble(), 0.3);
    QCOMPARE(f1Total["fmt"].toString(), QStringLiteral("0.00"));
    QCOMPARE(cell(sheet, 4, 4)["cached"].toDouble(), 3.005);
    QCOMPARE(cell(sheet, 4, 5)["cached"].toDouble(), 0.5);
    QVERIFY2(cell(sheet, 4, 0)["v"].isNull(), "only amount columns are totalled");
}

void SpreadsheetExportTest::unwritableFileIsReportedAndLeavesNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("existsBefore");
    QTest::newRow("missing folder") << "no such folder/工资.xlsx" << false;
    QTest::newRow("folder is a plain file") << "GZDB.mdb/工资.xlsx" << false;
    QTest::newRow("name taken by a folder") << "taken.xlsx" << true;
}

void SpreadsheetExportTest::unwritableFileIsReportedAndLeavesNothing() {
    QFETCH(QString, name);
    QFETCH(bool, existsBefore);
    Workspace workspace;
    storeTwoRows(workspace);
    openMonth();
    QDir folder(workspace.path());
    folder.mkdir(QStringLiteral("taken.xlsx"));
    const QStringList before = folder.entryList(QDir::AllEntries | QDir::Hidden);
    const QString path = folder.filePath(name);

    QString message;
    try {
        exportSpreadsheet(path, queryLayout(), DM->AQ1);
    } catch (const ExportError &failure) {
        message = QString::fromUtf8(failure.what());
    }
    QVERIFY2(message.startsWith(path + QStringLiteral(": ")), qPrintable(message));
    QCOMPARE(QFileInfo(path).exists(), existsBefore);
    QCOMPARE(folder.entryList(QDir::AllEntries | QDir::Hidden), before);
}

QTEST_MAIN(SpreadsheetExportTest)
#include "test_spreadsheetexport.moc"
