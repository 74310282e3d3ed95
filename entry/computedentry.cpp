#include "computedentry.h"

#include "computationnote.h"
#include "currencyedit.h"
#include "data.h"

#include <QScopedValueRollback>

void ComputedEntry::setUp(const QList<CurrencyEdit *> &editors, const QStringList &columns,
                          const PayrollRules &rules) {
    m_rules = rules;
    for (int i = 0; i < editors.size(); ++i)
        m_editors.insert(columns.at(i), editors.at(i));
    for (const ItemRule &item : m_rules.items)
        if (isComputed(item.method))
            if (CurrencyEdit *editor = m_editors.value(columnOf(item)))
                showAsComputed(editor);
}

// Read-only on grey, and passed over by Enter and Tab: the clerk types only what is typed.
void ComputedEntry::showAsComputed(CurrencyEdit *editor) {
    editor->setReadOnly(true);
    editor->setFocusPolicy(Qt::NoFocus);
    QPalette palette = editor->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(group, QPalette::Base, computedGrey);
    editor->setPalette(palette);
}

void ComputedEntry::loadEmployee(qint64 employee, const QString &month) {
    if (!active())
        return;
    m_month = month;
    const std::map<qint64, EmployeeProfile> profiles = readProfiles(DM->ADC, employee);
    m_profile = profileOf(profiles, employee);
    const std::map<qint64, YearToDate> years =
        readYearsBefore(DM->ADC, m_rules, profiles, month, std::set{employee});
    const auto year = years.find(employee);
    m_before = year == years.end() ? YearToDate() : year->second;
}

void ComputedEntry::recompute() {
    if (!active() || m_month.isEmpty() || m_recomputing)
        return;
    const QScopedValueRollback<bool> inside(m_recomputing, true);
    SalaryAmounts amounts;
    const auto editorOf = [this](const ItemRule &item) { return m_editors.value(columnOf(item)); };
    for (const ItemRule &item : m_rules.items)
        if (CurrencyEdit *editor = editorOf(item))
            amounts.at(item) = editor->value();
    computeItems(m_rules, m_profile, m_before, m_month, amounts);
    for (const ItemRule &item : m_rules.items)
        if (CurrencyEdit *editor = editorOf(item); editor && isComputed(item.method)) {
            editor->setValue(amounts.at(item));
            editor->setToolTip(
                computationNote(m_rules, m_profile, m_before, m_month, amounts, item));
        }
}
