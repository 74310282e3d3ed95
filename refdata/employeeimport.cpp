#include "employeeimport.h"

#include "data.h"
#include "dberror.h"
#include "employeedirectory.h"
#include "identitydocument.h"
#include "transaction.h"

#include <QRegularExpression>
#include <algorithm>
#include <functional>

namespace EmployeeImport {
namespace {

struct FieldInfo {
    const char16_t *name;
    QStringList otherNames;
    const char *column; // in YGZD or YGZJ
    bool identity;      // YGZJ's
};

const std::array<FieldInfo, FieldCount> &fields() {
    static const std::array<FieldInfo, FieldCount> all = {{
        {u"编号", {"员工编号", "工号", "员工号"}, "bh", false},
        {u"姓名", {"员工姓名"}, "xm", false},
        {u"性别", {}, "xb", false},
        {u"出生日期", {"出生年月", "生日"}, "csrq", false},
        {u"工作日期", {"参加工作日期", "参加工作时间", "入职日期"}, "gzrq", false},
        {u"部门", {"部门名称", "所在部门"}, "bmh", false},
        {u"职务", {"职位", "岗位"}, "zw", false},
        {u"证件类型", {"证照类型"}, "zjlx", true},
        {u"证件号码", {"身份证号", "身份证号码", "证照号码"}, "zjhm", true},
        {u"国籍", {"国籍(地区)", "国籍（地区）"}, "gj", true},
        {u"开户银行", {"开户行", "银行"}, "khyh", true},
        {u"银行账号", {"账号", "卡号", "银行卡号"}, "yhzh", true},
        {u"手机号码", {"手机", "手机号", "联系电话"}, "sjhm", true},
    }};
    return all;
}

// What the date box stores when nothing was typed.
const QString emptyDate = QStringLiteral("    -  -  ");

QString storedDate(QDate date) {
    return QStringLiteral("%1-%2-%3").arg(date.year(), 4).arg(date.month(), 2).arg(date.day(), 2);
}

// "1980-05-01", "1980/5/1", "1980.5.1", "1980年5月1日", "19800501", or a date serial number.
std::optional<QString> dateOf(const SheetCell &cell, bool uses1904) {
    if (cell.kind == SheetCell::Kind::Number) {
        const std::optional<SheetNumber> serial = SheetNumber::parse(cell.text);
        const std::optional<QDate> date =
            serial ? sheetSerialDate(*serial, uses1904) : std::nullopt;
        if (date)
            return storedDate(*date);
        return std::nullopt;
    }
    static const QRegularExpression separated(
        QStringLiteral(R"(^(\d{4})\s*[-/.年]\s*(\d{1,2})\s*[-/.月]\s*(\d{1,2})\s*日?$)"));
    static const QRegularExpression compact(QStringLiteral(R"(^(\d{4})(\d{2})(\d{2})$)"));
    const QString text = cell.text.trimmed();
    QRegularExpressionMatch match = separated.match(text);
    if (!match.hasMatch())
        match = compact.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(),
                     match.captured(3).toInt());
    if (!date.isValid())
        return std::nullopt;
    return storedDate(date);
}

bool isEmptyValue(const QString &value) {
    return value.trimmed().isEmpty() || value == emptyDate;
}

// The value a row's cell gives its field, as stored; nothing, with a problem, when it is no
// such value; an empty text for an empty cell.
std::optional<QString> valueOf(Field field, const SheetCell &cell, const QString &place,
                               bool uses1904, QStringList &problems) {
    if (cell.isEmpty())
        return QString();
    switch (field) {
    case Birth:
    case Start: {
        const std::optional<QString> date = dateOf(cell, uses1904);
        if (!date)
            problems << QStringLiteral("%1“%2”不是日期。").arg(place, cell.text.trimmed());
        return date;
    }
    case Document:
        return documentText(cell, place, problems);
    case Account: {
        if (cell.kind == SheetCell::Kind::Number && cellText(cell).size() > 15) {
            problems << QStringLiteral(
                            "%1的银行账号被Excel存成了数字，末几位已丢失。请把该列设为文本"
                            "格式，重新输入后再导入。")
                            .arg(place);
            return std::nullopt;
        }
        const QString account = normalAccountNumber(cellText(cell));
        if (const std::optional<QString> problem = accountNumberProblem(account)) {
            problems << QStringLiteral("%1：%2").arg(place, *problem);
            return std::nullopt;
        }
        return account;
    }
    case Sex: {
        const QString sex = cellText(cell);
        if (sex != u"男" && sex != u"女") {
            problems << QStringLiteral("%1“%2”应为“男”或“女”。").arg(place, sex);
            return std::nullopt;
        }
        return sex;
    }
    default:
        return cellText(cell);
    }
}

QString label(const QString &name, qint64 number) {
    return QStringLiteral("%1（编号 %2）").arg(name).arg(number);
}

} // namespace

QString fieldName(Field field) {
    return QString::fromUtf16(fields()[field].name);
}

Mapping guessMapping(const QStringList &headers, const QHash<int, QString> &remembered) {
    Mapping mapping;
    mapping.fill(-1);
    for (int field = 0; field < FieldCount; ++field) {
        QStringList names = {fieldName(Field(field))};
        names += fields()[field].otherNames;
        if (remembered.contains(field))
            names.prepend(remembered.value(field));
        for (const QString &name : names) {
            const int column = int(headers.indexOf(name));
            if (column >= 0) {
                mapping[field] = column;
                break;
            }
        }
    }
    return mapping;
}

Existing readExisting() {
    Existing existing;
    Query departments(DM->ADC);
    departments.addLine("select * from BMZD order by bh");
    departments.open();
    QHash<qint64, QString> departmentNames;
    for (; !departments.eof(); departments.next()) {
        const QString name = departments.field("mc").asString().trimmed();
        departmentNames.insert(departments.field("bh").asInteger(), name);
        if (!existing.departments.contains(name))
            existing.departments.insert(name, departments.field("bh").asInteger());
    }
    Query employees(DM->ADC);
    employees.addLine("select a.*,b.ygh as zj,b.zjlx,b.zjhm,b.gj,b.khyh,b.yhzh,b.sjhm "
                      "from YGZD as a left join YGZJ as b on b.ygh=a.bh order by a.bh");
    employees.open();
    for (; !employees.eof(); employees.next()) {
        Existing::Employee employee;
        employee.number = employees.field("bh").asInteger();
        employee.department = employees.field("bmh").asInteger();
        employee.hasIdentity = !employees.field("zj").asString().isEmpty();
        for (int field = 0; field < FieldCount; ++field)
            employee.values[field] =
                employees.field(QString::fromLatin1(fields()[field].column)).asString();
        employee.values[Department] = departmentNames.value(employee.department);
        employee.asRead.read(employees, {"xm", "xb", "csrq", "gzrq", "zw", "zt"}, {"bmh"});
        existing.employees << employee;
    }
    return existing;
}

int Preview::count(RowPreview::Status status) const {
    return int(std::count_if(rows.cbegin(), rows.cend(),
                             [status](const RowPreview &row) { return row.status == status; }));
}

Preview preview(const ImportSheet &sheet, const Mapping &mapping, const Existing &existing,
                bool createDepartments) {
    Preview result;
    if (mapping[Name] < 0) {
        result.problems << QStringLiteral("请为“姓名”选择表中的一列。");
        return result;
    }
    EmployeeDirectory directory;
    QHash<qint64, const Existing::Employee *> byNumber;
    QHash<QString, qint64> documentOwners;
    for (const Existing::Employee &employee : existing.employees) {
        directory.add({employee.number, employee.values[Name], employee.values[Document]});
        byNumber.insert(employee.number, &employee);
        if (!employee.values[Document].isEmpty())
            documentOwners.insert(employee.values[Document].toUpper(), employee.number);
    }
    for (const MergedArea &area : sheet.mergedBelowHeader)
        result.problems << QStringLiteral("单元格 %1 是合并的，其中的数据不导入；请先取消合并。")
                               .arg(area.reference);

    QHash<qint64, int> employeeRows;  // existing employee → sheet row
    QHash<QString, int> documentRows; // document → sheet row
    QHash<QString, int> personRows;   // a new employee's name and birth date → sheet row
    for (const SheetRow &row : sheet.rows) {
        RowPreview preview;
        preview.row = row.number;
        bool anything = false;
        for (int field = 0; field < FieldCount; ++field) {
            if (mapping[field] < 0)
                continue;
            const QString header = sheet.headers.value(mapping[field]);
            const std::optional<QString> value =
                valueOf(Field(field), row.cell(mapping[field]), cellPlace(row.number, header),
                        sheet.uses1904, preview.problems);
            anything = anything || !row.cell(mapping[field]).isEmpty();
            if (value && !value->isEmpty())
                preview.values.insert(field, *value);
        }
        if (!anything)
            continue;
        preview.name = preview.values.value(Name);
        const QString place = rowPlace(row.number);
        if (preview.name.isEmpty())
            preview.problems << QStringLiteral("%1：姓名为空。").arg(place);

        const EmployeeDirectory::Found found = directory.find(
            preview.values.value(Number), preview.values.value(Document), preview.name);
        if (found.entry) {
            preview.employee = found.entry->number;
            if (employeeRows.contains(preview.employee))
                preview.problems << QStringLiteral("%1与第 %2 行是同一员工 %3。")
                                        .arg(place)
                                        .arg(employeeRows.value(preview.employee))
                                        .arg(label(found.entry->name, preview.employee));
            else
                employeeRows.insert(preview.employee, row.number);
        } else if (preview.values.contains(Number)) {
            preview.problems << QStringLiteral("%1：没有编号为 %2 的员工（新员工不填编号）。")
                                    .arg(place, preview.values.value(Number));
        } else if (found.ambiguousName && !preview.values.contains(Document)) {
            preview.problems << QStringLiteral("%1：叫“%2”的员工不止一人，请填写编号或证件号码。")
                                    .arg(place, preview.name);
        }
        const Existing::Employee *stored = byNumber.value(preview.employee);

        const QString document = preview.values.value(Document);
        if (!document.isEmpty()) {
            const QString kind =
                preview.values.value(DocumentKind, stored && !stored->values[DocumentKind].isEmpty()
                                                       ? stored->values[DocumentKind]
                                                       : residentIdentityCard());
            const auto storedOr = [&](Field field) {
                return preview.values.value(field, stored ? stored->values[field] : QString());
            };
            if (const std::optional<QString> problem = documentNumberProblem(
                    kind, normalDocumentNumber(document), storedOr(Birth), storedOr(Sex)))
                preview.problems << QStringLiteral("%1：%2").arg(place, *problem);
            const qint64 owner = documentOwners.value(document, 0);
            if (owner != 0 && owner != preview.employee)
                preview.problems << QStringLiteral("%1：证件号码 %2 已是员工%3的。")
                                        .arg(place, document,
                                             label(byNumber.value(owner)->values[Name], owner));
            if (documentRows.contains(document))
                preview.problems << QStringLiteral("%1：证件号码 %2 与第 %3 行重复。")
                                        .arg(place, document)
                                        .arg(documentRows.value(document));
            else
                documentRows.insert(document, row.number);
        }
        if (!stored && !preview.name.isEmpty()) {
            const QString person = preview.name + u'|' + preview.values.value(Birth);
            if (personRows.contains(person))
                preview.problems << QStringLiteral("%1与第 %2 行重复（同名同出生日期）。")
                                        .arg(place)
                                        .arg(personRows.value(person));
            else
                personRows.insert(person, row.number);
            if (!preview.values.contains(Sex) && mapping[Sex] >= 0)
                preview.problems << QStringLiteral("%1：新员工的性别为空。").arg(place);
        }
        const QString department = preview.values.value(Department);
        const bool newDepartment =
            !department.isEmpty() && !existing.departments.contains(department);
        if (newDepartment && !createDepartments)
            preview.problems << QStringLiteral("%1：部门“%2”不存在（可勾选“新建表中的部门”）。")
                                    .arg(place, department);

        for (auto value = preview.values.cbegin(); value != preview.values.cend(); ++value) {
            if (value.key() == Number)
                continue;
            const QString before = stored ? stored->values[value.key()] : QString();
            if (!stored)
                preview.changes << QStringLiteral("%1：%2").arg(fieldName(Field(value.key())),
                                                                value.value());
            else if (before != value.value())
                preview.changes << QStringLiteral("%1：%2 → %3")
                                       .arg(fieldName(Field(value.key())),
                                            isEmptyValue(before) ? QStringLiteral("（空）")
                                                                 : before,
                                            value.value());
        }
        if (!preview.problems.isEmpty())
            preview.status = RowPreview::Status::Refused;
        else if (!stored)
            preview.status = RowPreview::Status::New;
        else
            preview.status = preview.changes.isEmpty() ? RowPreview::Status::Unchanged
                                                       : RowPreview::Status::Changed;
        // A department is made only for a row that is written.
        if (newDepartment && preview.status != RowPreview::Status::Refused &&
            !result.newDepartments.contains(department))
            result.newDepartments << department;
        result.rows << preview;
    }
    return result;
}

namespace {

qint64 insertReturningKey(const QString &sql, const std::function<void(Query &)> &bind) {
    Query insert(DM->ADC);
    insert.addLine(sql + " returning bh");
    bind(insert);
    insert.open();
    return insert.field("bh").asInteger();
}

// The YGZD columns a row sets, with its department's number in place of its name.
void writeEmployee(const RowPreview &row, const Existing::Employee *stored,
                   const QHash<QString, qint64> &departments, qint64 &employee) {
    QStringList columns;
    for (auto value = row.values.cbegin(); value != row.values.cend(); ++value)
        if (value.key() != Number && !fields()[value.key()].identity)
            columns << QString::fromLatin1(fields()[value.key()].column);
    auto bindValues = [&](Query &query) {
        for (auto value = row.values.cbegin(); value != row.values.cend(); ++value) {
            if (value.key() == Number || fields()[value.key()].identity)
                continue;
            const QString column = QString::fromLatin1(fields()[value.key()].column);
            if (value.key() == Department)
                query.param(column).setInteger(departments.value(value.value()));
            else
                query.param(column).setText(value.value());
        }
    };
    if (!stored) {
        // What the employee window stores for what a row leaves out.
        QStringList names = {"zt"};
        QStringList values = {"'1'"};
        for (const QString &column : columns) {
            names << column;
            values << ":" + column;
        }
        for (const char *date : {"csrq", "gzrq"}) {
            if (!columns.contains(QLatin1String(date))) {
                names << QString::fromLatin1(date);
                values << "'" + emptyDate + "'";
            }
        }
        employee = insertReturningKey("insert into YGZD (" + names.join(u',') + ") values (" +
                                          values.join(u',') + ")",
                                      bindValues);
        return;
    }
    employee = stored->number;
    if (columns.isEmpty())
        return;
    QStringList sets;
    for (const QString &column : columns)
        sets << column + "=:" + column;
    Query update(DM->ADC);
    update.addLine("update YGZD set " + sets.join(u',') + " where bh=:bh" +
                   stored->asRead.condition());
    bindValues(update);
    update.param("bh").setInteger(stored->number);
    stored->asRead.bind(update);
    update.execSql();
    if (update.rowsAffected() == 0)
        throw DbError(
            QStringLiteral("员工%1已被其他操作员修改，导入没有写入任何数据。请重新预览后再导入。")
                .arg(label(row.name, stored->number)));
}

void writeIdentity(const RowPreview &row, bool hasIdentity, qint64 employee) {
    QStringList columns;
    for (auto value = row.values.cbegin(); value != row.values.cend(); ++value)
        if (fields()[value.key()].identity)
            columns << QString::fromLatin1(fields()[value.key()].column);
    if (columns.isEmpty())
        return;
    Query query(DM->ADC);
    if (hasIdentity) {
        QStringList sets;
        for (const QString &column : columns)
            sets << column + "=:" + column;
        query.addLine("update YGZJ set " + sets.join(u',') + " where ygh=:ygh");
    } else {
        query.addLine("insert into YGZJ (ygh," + columns.join(u',') +
                      ") values (:ygh,:" + columns.join(",:") + ")");
    }
    for (auto value = row.values.cbegin(); value != row.values.cend(); ++value)
        if (fields()[value.key()].identity)
            query.param(QString::fromLatin1(fields()[value.key()].column)).setText(value.value());
    query.param("ygh").setInteger(employee);
    query.execSql();
}

} // namespace

void write(const Preview &preview, const Existing &existing) {
    QHash<qint64, const Existing::Employee *> byNumber;
    for (const Existing::Employee &employee : existing.employees)
        byNumber.insert(employee.number, &employee);
    Transaction transaction(DM->ADC);
    QHash<QString, qint64> departments = existing.departments;
    for (const QString &name : preview.newDepartments)
        departments.insert(
            name, insertReturningKey("insert into BMZD (mc) values (:mc)",
                                     [&](Query &insert) { insert.param("mc").setText(name); }));
    for (const RowPreview &row : preview.rows) {
        if (row.status != RowPreview::Status::New && row.status != RowPreview::Status::Changed)
            continue;
        const Existing::Employee *stored = byNumber.value(row.employee);
        qint64 employee = 0;
        writeEmployee(row, stored, departments, employee);
        writeIdentity(row, stored && stored->hasIdentity, employee);
    }
    transaction.commit();
}

} // namespace EmployeeImport
