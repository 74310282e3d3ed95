#include "amountimport.h"

#include "data.h"
#include "salarycolumns.h"
#include "sqllines.h"

namespace AmountImport {
namespace {

QString employeeLabel(const QString &name, qint64 employee) {
    return QStringLiteral("%1（编号 %2）").arg(name).arg(employee);
}

// The amount a cell holds, or the problem that keeps it out.
std::optional<Currency> amountOf(const SheetCell &cell, int row, const QString &header,
                                 QStringList &problems) {
    if (cell.isEmpty())
        return Currency();
    // Where the problem lies is said only of a cell that has one.
    const auto place = [&] { return cellPlace(row, header); };
    const std::optional<SheetNumber> number =
        cell.kind == SheetCell::Kind::Number || cell.kind == SheetCell::Kind::Text
            ? SheetNumber::parse(cell.text)
            : std::nullopt;
    if (!number) {
        problems << QStringLiteral("%1是“%2”，不是金额。").arg(place(), cell.text.trimmed());
        return std::nullopt;
    }
    const std::optional<Currency> amount = number->toCurrency();
    if (number->decimals() > 2 || !amount) {
        problems
            << QStringLiteral("%1的金额 %2 超过两位小数（精确到分）。").arg(place(), cell.text);
        return std::nullopt;
    }
    return amount;
}

} // namespace

QList<Item> enteredItems(const QStringList &computedColumns) {
    QList<Item> items;
    Query &query = setSql(DM->AQ1, {"select * from GZXMZD ", "order by S_FK,bh"});
    query.open();
    int slot = 0;
    QString kind;
    for (; !query.eof(); query.next()) {
        const QString itemKind = query.field("S_FK").asString();
        slot = itemKind == kind ? slot + 1 : 1;
        kind = itemKind;
        const QString column = SalaryColumns::itemColumn(kind, slot);
        if (!computedColumns.contains(column))
            items.append({column, query.field("mc").asString().trimmed()});
    }
    return items;
}

QList<MonthRow> readMonth(const QList<Item> &items) {
    QList<MonthRow> rows;
    Query &query = setSql(DM->AQ1, {"select a.*,b.zjhm from temp_gzb as a left join YGZJ as b "
                                    "on b.ygh=a.ygh order by a.ygh"});
    query.open();
    for (; !query.eof(); query.next()) {
        MonthRow row{query.field("ygh").asInteger(),
                     query.field("xm").asString(),
                     query.field("zjhm").asString(),
                     {}};
        row.amounts.reserve(items.size());
        for (const Item &item : items)
            row.amounts << query.field(item.column).asCurrency();
        rows << std::move(row);
    }
    return rows;
}

Preview preview(const ImportSheet &sheet, const QList<Item> &items, const QList<MonthRow> &month) {
    Preview result;
    EmployeeDirectory directory;
    QHash<qint64, const MonthRow *> byEmployee;
    for (const MonthRow &row : month) {
        directory.add({row.employee, row.name, row.document});
        byEmployee.insert(row.employee, &row);
    }
    struct Column {
        int index;      // on the sheet
        qsizetype item; // among the items
    };
    QList<Column> columns;
    for (qsizetype item = 0; item < items.size(); ++item) {
        const int index = sheet.column(items[item].name);
        if (index >= 0) {
            columns.append({index, item});
            result.itemsRead << items[item].name;
        }
    }
    const int numberColumn = sheet.column(numberHeader);
    const int nameColumn = sheet.column(nameHeader);
    const int documentColumn = sheet.column(documentHeader);
    if (columns.isEmpty())
        result.problems
            << QStringLiteral("表头（第 %1 行）中没有与工资项目同名的列。").arg(sheet.headerRow);
    for (const MergedArea &area : sheet.mergedBelowHeader)
        result.problems << QStringLiteral("单元格 %1 是合并的，其中的数据不导入；请先取消合并。")
                               .arg(area.reference);

    QHash<qint64, int> seenAt; // employee → sheet row
    for (const SheetRow &row : sheet.rows) {
        auto text = [&](int column) { return column < 0 ? QString() : cellText(row.cell(column)); };
        const QString name = text(nameColumn);
        const QString number = text(numberColumn);
        const std::optional<QString> document =
            documentColumn < 0
                ? QString()
                : documentText(row.cell(documentColumn), cellPlace(row.number, documentHeader),
                               result.problems);
        if (!document)
            continue;
        // A totals row under the table names nobody and is no employee's.
        if (name.isEmpty() && number.isEmpty() && document->isEmpty())
            continue;
        const EmployeeDirectory::Found found = directory.find(number, *document, name);
        if (!found.entry) {
            result.problems << QStringLiteral("%1：本月没有这名员工（编号“%2”，姓名“%3”）%4。")
                                   .arg(rowPlace(row.number), number, name,
                                        found.ambiguousName ? QStringLiteral("，同名者不止一人，"
                                                                             "请填写编号")
                                                            : QString());
            continue;
        }
        const qint64 employee = found.entry->number;
        if (seenAt.contains(employee)) {
            result.problems << QStringLiteral("%1与第 %2 行是同一员工 %3，只取第 %2 行。")
                                   .arg(rowPlace(row.number))
                                   .arg(seenAt.value(employee))
                                   .arg(employeeLabel(found.entry->name, employee));
            continue;
        }
        seenAt.insert(employee, row.number);
        const MonthRow &stored = *byEmployee.value(employee);
        EmployeeChanges changes{employee, stored.name, {}};
        for (const Column &column : std::as_const(columns)) {
            const Item &item = items[column.item];
            const std::optional<Currency> amount =
                amountOf(row.cell(column.index), row.number, item.name, result.problems);
            const Currency before = stored.amounts.value(column.item);
            if (amount && *amount != before)
                changes.changes.append({item.column, item.name, before, *amount});
        }
        if (changes.changes.isEmpty())
            ++result.unchanged;
        else
            result.employees << std::move(changes);
    }
    for (const MonthRow &row : month)
        if (!seenAt.contains(row.employee))
            result.missing << employeeLabel(row.name, row.employee);
    return result;
}

} // namespace AmountImport
