#include "amountimportdialog.h"

#include "entrymonth.h"

AmountImportDialog::AmountImportDialog(EntryMonth &month)
    : ImportDialog("导入本月金额", "导 入 本 月 金 额", QSize(560, 460), 0), m_month(month) {
    setObjectName("amountImportDialog");
    m_items = AmountImport::enteredItems(month.rules().computedColumns());
    m_rows = AmountImport::readMonth(m_items);
}

QStringList AmountImportDialog::knownHeaders() const {
    QStringList headers = {AmountImport::numberHeader, AmountImport::nameHeader,
                           AmountImport::documentHeader};
    for (const AmountImport::Item &item : m_items)
        headers << item.name;
    return headers;
}

QString AmountImportDialog::preview(const ImportSheet &sheet, bool &importable) {
    m_preview = AmountImport::preview(sheet, m_items, m_rows);
    QStringList lines;
    lines << QStringLiteral("导入的项目：%1")
                 .arg(m_preview.itemsRead.isEmpty()
                          ? QStringLiteral("无")
                          : m_preview.itemsRead.join(QStringLiteral("、")));
    lines << QStringLiteral("金额有变化的员工：%1 人，不变：%2 人。")
                 .arg(m_preview.employees.size())
                 .arg(m_preview.unchanged);
    for (const AmountImport::EmployeeChanges &employee : std::as_const(m_preview.employees)) {
        QStringList changes;
        for (const AmountImport::Change &change : employee.changes)
            changes << QStringLiteral("%1 %2 → %3")
                           .arg(change.item, change.before.toFixed2(), change.after.toFixed2());
        lines << QStringLiteral("  %1（编号 %2）：%3")
                     .arg(employee.name)
                     .arg(employee.employee)
                     .arg(changes.join(QStringLiteral("，")));
    }
    if (!m_preview.problems.isEmpty()) {
        lines << QStringLiteral("问题（这些单元格不导入）：");
        for (const QString &problem : std::as_const(m_preview.problems))
            lines << QStringLiteral("  ") + problem;
    }
    if (!m_preview.missing.isEmpty())
        lines << QStringLiteral("表中没有的本月员工（金额不变）：") +
                     m_preview.missing.join(QStringLiteral("、"));
    importable = !m_preview.employees.isEmpty();
    return lines.join(u'\n');
}

void AmountImportDialog::write() {
    QList<EntryMonth::EmployeeAmounts> employees;
    for (const AmountImport::EmployeeChanges &employee : std::as_const(m_preview.employees)) {
        EntryMonth::EmployeeAmounts amounts{employee.employee, {}};
        for (const AmountImport::Change &change : employee.changes)
            amounts.amounts.append({change.column, change.after});
        employees << amounts;
    }
    m_month.storeEmployees(employees);
}
