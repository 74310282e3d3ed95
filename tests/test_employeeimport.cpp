// Employees taken from a sheet: the mapping guessed from the headers, each row previewed as
// new, changed or unchanged with every problem that keeps it out, and the rows written in one
// transaction, or none when another clerk changed an employee meanwhile. The dialog is driven
// from a file to the confirmed import.
#include "dberror.h"
#include "employeeimport.h"
#include "employeeimportdialog.h"
#include "flatbutton.h"
#include "operator.h"
#include "workspace.h"
#include "xlsxfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTest>
#include <xlsxwriter.h>

namespace {

using Rows = QList<QStringList>;
using Status = EmployeeImport::RowPreview::Status;

const QStringList header = {"编号", "姓名", "性别", "出生日期", "部门", "职务", "证件号码"};

// Department 1 办公室. Employees 1 张三 (with an identity row), 2 李四, 3 王五, 4 王五.
void addEmployees(const Workspace &workspace) {
    for (const char *sql : {
             "insert into BMZD (mc) values ('办公室')",
             "insert into YGZD (xm,xb,csrq,gzrq,bmh,zw,zt) values "
             "('张三','男','1980- 1- 2','2000- 3- 4',1,'主任','1'),"
             "('李四','女','1985-11-12','2008- 7- 1',1,'会计','1'),"
             "('王五','男','    -  -  ','    -  -  ',1,'','1'),"
             "('王五','女','    -  -  ','    -  -  ',1,'','1')",
             "insert into YGZJ (ygh,zjhm,yhzh) values (1,'110101198001020016','6222')",
         })
        workspace.exec(QString::fromUtf8(sql));
}

QString writeSheet(const Workspace &workspace, const Rows &rows) {
    const QString path = workspace.path() + "/employees.xlsx";
    XlsxFixture book(path);
    book.writeRows(book.sheet("人员"), rows);
    return path;
}

ImportSheet readSheet(const QString &path) {
    const std::unique_ptr<Workbook> opened = openWorkbook(path);
    const Workbook &book = *opened;
    QStringList known;
    for (int field = 0; field < EmployeeImport::FieldCount; ++field)
        known << EmployeeImport::fieldName(EmployeeImport::Field(field));
    return readImportSheet(book, 0, known, [] {});
}

EmployeeImport::Preview previewOf(const QString &path, bool createDepartments) {
    const ImportSheet sheet = readSheet(path);
    return EmployeeImport::preview(sheet, EmployeeImport::guessMapping(sheet.headers),
                                   EmployeeImport::readExisting(), createDepartments);
}

QString statusName(Status status) {
    switch (status) {
    case Status::New:
        return "new";
    case Status::Changed:
        return "changed";
    case Status::Unchanged:
        return "unchanged";
    case Status::Refused:
        return "refused";
    }
    return {};
}

} // namespace

class EmployeeImportTest : public QObject {
    Q_OBJECT
private slots:
    void guessesTheMapping_data();
    void guessesTheMapping();
    void previewsEachRow_data();
    void previewsEachRow();
    void refusesAnIdentityNumberStoredAsNumber();
    void writesEverythingInOneTransaction();
    void writesNothingWhenAnEmployeeChangedMeanwhile();
    void importsThroughTheDialog();
    void remembersTheChosenColumns();
};

void EmployeeImportTest::guessesTheMapping_data() {
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QString>("remembered"); // for 姓名
    QTest::addColumn<int>("name");
    QTest::addColumn<int>("document");
    QTest::newRow("own names") << QStringList{"姓名", "证件号码"} << "" << 0 << 1;
    QTest::newRow("usual other names") << QStringList{"身份证号", "员工姓名"} << "" << 1 << 0;
    QTest::newRow("remembered header first")
        << QStringList{"姓名", "职工名"} << "职工名" << 1 << -1;
    QTest::newRow("nothing known") << QStringList{"甲", "乙"} << "" << -1 << -1;
}

void EmployeeImportTest::guessesTheMapping() {
    QFETCH(QStringList, headers);
    QFETCH(QString, remembered);
    QFETCH(int, name);
    QFETCH(int, document);
    QHash<int, QString> memory;
    if (!remembered.isEmpty())
        memory.insert(EmployeeImport::Name, remembered);
    const EmployeeImport::Mapping mapping = EmployeeImport::guessMapping(headers, memory);
    QCOMPARE(mapping[EmployeeImport::Name], name);
    QCOMPARE(mapping[EmployeeImport::Document], document);
}

void EmployeeImportTest::previewsEachRow_data() {
    QTest::addColumn<Rows>("rows"); // below the header
    QTest::addColumn<bool>("createDepartments");
    QTest::addColumn<QStringList>("statuses");
    QTest::addColumn<QString>("detail"); // a change or problem of the last row

    QTest::newRow("new employee") << Rows{{"", "赵六", "女", "1985-6-1", "办公室", "出纳",
                                           "11010519850601002X"}}
                                  << false << QStringList{"new"} << "出生日期：1985- 6- 1";
    QTest::newRow("date as a serial number") << Rows{{"", "赵六", "女", "29342", "办公室"}} << false
                                             << QStringList{"new"} << "出生日期：1980- 5- 1";
    QTest::newRow("changed, found by number")
        << Rows{{"1", "张三", "男", "1980/1/2", "办公室", "科长"}} << false
        << QStringList{"changed"} << "职务：主任 → 科长";
    QTest::newRow("changed, found by identity document")
        << Rows{{"", "张三", "", "", "", "处长", "110101198001020016"}} << false
        << QStringList{"changed"} << "职务：主任 → 处长";
    QTest::newRow("unchanged") << Rows{{"2", "李四", "女", "1985年11月12日", "办公室", "会计"}}
                               << false << QStringList{"unchanged"} << "";
    QTest::newRow("unknown department") << Rows{{"", "赵六", "女", "", "财务科"}} << false
                                        << QStringList{"refused"} << "部门“财务科”不存在";
    QTest::newRow("unknown department to be made")
        << Rows{{"", "赵六", "女", "", "财务科"}} << true << QStringList{"new"} << "部门：财务科";
    QTest::newRow("the same employee twice")
        << Rows{{"1", "张三"}, {"1", "张三", "", "", "", "科长"}} << false
        << QStringList{"unchanged", "refused"} << "与第 2 行是同一员工";
    QTest::newRow("the same new employee twice")
        << Rows{{"", "赵六", "女", "1985-6-1"}, {"", "赵六", "女", "1985-6-1"}} << false
        << QStringList{"new", "refused"} << "重复";
    QTest::newRow("a date that is no date")
        << Rows{{"", "赵六", "女", "1985-13-01"}} << false << QStringList{"refused"} << "不是日期";
    QTest::newRow("a wrong check character")
        << Rows{{"", "赵六", "女", "", "", "", "110101199003077775"}} << false
        << QStringList{"refused"} << "校验位";
    QTest::newRow("an identity number of another employee")
        << Rows{{"2", "李四", "", "", "", "", "110101198001020016"}} << false
        << QStringList{"refused"} << "已是员工张三";
    QTest::newRow("an empty name")
        << Rows{{"", "", "女", "1985-6-1"}} << false << QStringList{"refused"} << "姓名为空";
    QTest::newRow("a shared name")
        << Rows{{"", "王五", "", "", "", "司机"}} << false << QStringList{"refused"} << "不止一人";
    QTest::newRow("a number nobody has")
        << Rows{{"9", "张三"}} << false << QStringList{"refused"} << "没有编号为 9";
    QTest::newRow("a sex that is none")
        << Rows{{"", "赵六", "M"}} << false << QStringList{"refused"} << "应为“男”或“女”";
}

void EmployeeImportTest::previewsEachRow() {
    QFETCH(Rows, rows);
    QFETCH(bool, createDepartments);
    QFETCH(QStringList, statuses);
    QFETCH(QString, detail);
    Workspace workspace;
    addEmployees(workspace);
    const EmployeeImport::Preview preview =
        previewOf(writeSheet(workspace, Rows{header} + rows), createDepartments);
    QStringList seen;
    for (const EmployeeImport::RowPreview &row : preview.rows)
        seen << statusName(row.status);
    QCOMPARE(seen, statuses);
    const EmployeeImport::RowPreview &last = preview.rows.last();
    const QString said = (last.changes + last.problems).join('\n');
    QVERIFY2(said.contains(detail), qPrintable(said));
}

void EmployeeImportTest::refusesAnIdentityNumberStoredAsNumber() {
    Workspace workspace;
    addEmployees(workspace);
    const QString path = workspace.path() + "/employees.xlsx";
    {
        XlsxFixture book(path);
        lxw_worksheet *sheet = book.sheet("人员");
        book.writeRows(sheet, {{"姓名", "性别", "证件号码"}, {"赵六", "女"}});
        worksheet_write_number(sheet, 1, 2, 110105194912310021.0, nullptr);
    }
    const EmployeeImport::Preview preview = previewOf(path, false);
    QCOMPARE(preview.rows.size(), 1);
    QCOMPARE(preview.rows.first().status, Status::Refused);
    QVERIFY(preview.rows.first().problems.join("").contains("设为文本格式"));
}

void EmployeeImportTest::writesEverythingInOneTransaction() {
    Workspace workspace;
    addEmployees(workspace);
    const QString path =
        writeSheet(workspace, {{"编号", "姓名", "性别", "部门", "职务", "证件号码", "银行账号"},
                               {"1", "张三", "男", "办公室", "科长", "", "6222 0001"},
                               {"2", "李四", "女", "办公室", "会计", "110105198511120020", ""},
                               {"", "赵六", "女", "财务科", "出纳", "440524198001010021", "6222"}});
    const EmployeeImport::Existing existing = EmployeeImport::readExisting();
    const ImportSheet sheet = readSheet(path);
    const EmployeeImport::Preview preview =
        EmployeeImport::preview(sheet, EmployeeImport::guessMapping(sheet.headers), existing, true);
    EmployeeImport::write(preview, existing);

    QCOMPARE(fileRows("select bh,mc from BMZD order by bh"), (QStringList{"1|办公室", "2|财务科"}));
    QCOMPARE(fileRows("select bh,xm,xb,csrq,bmh,zw,zt from YGZD where bh in (1,5) order by bh"),
             (QStringList{"1|张三|男|1980- 1- 2|1|科长|1", "5|赵六|女|    -  -  |2|出纳|1"}));
    QCOMPARE(
        fileRows("select ygh,zjlx,zjhm,yhzh from YGZJ order by ygh"),
        (QStringList{"1|居民身份证|110101198001020016|62220001", "2|居民身份证|110105198511120020|",
                     "5|居民身份证|440524198001010021|6222"}));
}

void EmployeeImportTest::writesNothingWhenAnEmployeeChangedMeanwhile() {
    Workspace workspace;
    addEmployees(workspace);
    const QString path = writeSheet(workspace, {{"编号", "姓名", "部门", "职务"},
                                                {"", "赵六", "财务科", "出纳"},
                                                {"2", "李四", "办公室", "主管"}});
    const EmployeeImport::Existing existing = EmployeeImport::readExisting();
    const ImportSheet sheet = readSheet(path);
    const EmployeeImport::Preview preview =
        EmployeeImport::preview(sheet, EmployeeImport::guessMapping(sheet.headers), existing, true);
    workspace.exec("update YGZD set zw='出纳' where bh=2");
    const QStringList employees = fileRows("select * from YGZD order by bh");
    QVERIFY_THROWS_EXCEPTION(DbError, EmployeeImport::write(preview, existing));
    QCOMPARE(fileRows("select * from YGZD order by bh"), employees);
    QCOMPARE(fileRows("select mc from BMZD order by bh"), QStringList{"办公室"});
}

void EmployeeImportTest::importsThroughTheDialog() {
    Workspace workspace;
    addEmployees(workspace);
    const QString path = writeSheet(workspace, {{"人员名单"},
                                                {"员工姓名", "性别", "所在部门"},
                                                {"赵六", "女", "办公室"},
                                                {"钱七", "男", "财务科"}});
    EmployeeImportDialog dialog;
    dialog.FormCreate();
    dialog.openFile(path);
    QCOMPARE(dialog.c_fields[EmployeeImport::Department]->currentText(), "C 所在部门");
    QVERIFY(dialog.t_preview->toPlainText().contains("部门“财务科”不存在"));
    dialog.c_newDepartments->click();
    QVERIFY(dialog.t_preview->toPlainText().contains("将新建部门：财务科"));
    workspace.answerConfirmations({true});
    dialog.b_import->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(fileRows("select xm,bmh from YGZD where bh>4 order by bh"),
             (QStringList{"赵六|1", "钱七|2"}));
}

void EmployeeImportTest::remembersTheChosenColumns() {
    QSettings().remove("employeeImport"); // what earlier runs chose
    Workspace workspace;
    addEmployees(workspace);
    const QString path =
        writeSheet(workspace, {{"职工名", "性别", "科室"}, {"赵六", "女", "办公室"}});
    {
        EmployeeImportDialog dialog;
        dialog.FormCreate();
        dialog.openFile(path);
        QComboBox *name = dialog.c_fields[EmployeeImport::Name];
        QCOMPARE(name->currentText(), "（不导入）");
        name->setCurrentIndex(name->findText("A 职工名"));
        QComboBox *department = dialog.c_fields[EmployeeImport::Department];
        department->setCurrentIndex(department->findText("C 科室"));
        QVERIFY(dialog.t_preview->toPlainText().contains("新增 1 人"));
    }
    EmployeeImportDialog again;
    again.FormCreate();
    again.openFile(path);
    QCOMPARE(again.c_fields[EmployeeImport::Name]->currentText(), "A 职工名");
    QCOMPARE(again.c_fields[EmployeeImport::Department]->currentText(), "C 科室");
}

QTEST_MAIN(EmployeeImportTest)
#include "test_employeeimport.moc"
