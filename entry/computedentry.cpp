#include "computedentry.h"

#include "currencyedit.h"
#include "data.h"
#include "progress.h"
#include "transaction.h"

void ComputedEntry::setUp(const QList<CurrencyEdit *> &editors, int earningCount) {
    m_rules = readPayrollRules(DM->ADC);
    m_editors = editors;
    m_earningCount = earningCount;
    for (const ItemRule &item : m_rules.items)
        if (item.method != Method::ByHand)
            if (CurrencyEdit *editor = m_editors.value(
                    item.deduction ? m_earningCount + item.slot - 1 : item.slot - 1))
                editor->setReadOnly(true);
}

void ComputedEntry::computeWorksheet(const QString &month) {
    if (active())
        computeMonth(DM->ADC, m_rules, "temp_gzb", month);
}

void ComputedEntry::loadEmployee(qint64 employee, const QString &month) {
    if (!active())
        return;
    m_month = month;
    const std::map<qint64, EmployeeProfile> profiles = readProfiles(DM->ADC, employee);
    m_profile = profileOf(profiles, employee);
    const std::map<qint64, YearToDate> years =
        readYearsBefore(DM->ADC, m_rules, profiles, month, employee);
    const auto year = years.find(employee);
    m_before = year == years.end() ? YearToDate() : year->second;
}

void ComputedEntry::recompute() {
    if (!active() || m_month.isEmpty() || m_recomputing)
        return;
    m_recomputing = true;
    SalaryAmounts amounts;
    const auto editorOf = [this](const ItemRule &item) {
        return m_editors.value(item.deduction ? m_earningCount + item.slot - 1 : item.slot - 1);
    };
    for (const ItemRule &item : m_rules.items)
        if (CurrencyEdit *editor = editorOf(item))
            amounts.at(item) = editor->value();
    computeItems(m_rules, m_profile, m_before, m_month, amounts);
    for (const ItemRule &item : m_rules.items)
        if (CurrencyEdit *editor = editorOf(item); editor && item.method != Method::ByHand)
            editor->setValue(amounts.at(item));
    m_recomputing = false;
}

QStringList ComputedEntry::laterMonthsOfYear(const QString &month) const {
    QStringList months;
    if (!m_rules.taxItem())
        return months;
    Query query(DM->ADC);
    query.addLine("select distinct ny from GZB where ny>:ny and ny<=:last order by ny");
    query.param("ny").setText(month);
    query.param("last").setText(month.left(4) + "12");
    query.open();
    for (; !query.eof(); query.next())
        months << query.field("ny").asString();
    return months;
}

void ComputedEntry::recomputeStoredMonths(const QStringList &months, Progress &progress) {
    Transaction transaction(DM->ADC);
    for (int done = 0; done < months.size(); ++done) {
        progress.step(done);
        computeMonth(DM->ADC, m_rules, "GZB", months.at(done), true);
    }
    progress.step(int(months.size()));
    transaction.commit();
}
