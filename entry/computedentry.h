#pragma once

#include "monthcomputation.h"

#include <QList>
#include <QString>

class CurrencyEdit;

// The computed items (contributions, income tax) in the entry window. With no item set to be
// computed it does nothing at all, and entry behaves as it always has.
class ComputedEntry {
public:
    // Takes the items' rules; the editors of computed items become read-only.
    void setUp(const QList<CurrencyEdit *> &editors, int earningCount, const PayrollRules &rules);
    bool active() const { return m_rules.computes(); }

    // Reads what the tax of `employee` in `month` depends on besides the editors.
    void loadEmployee(qint64 employee, const QString &month);
    // Sets the computed editors from the amounts typed in the others. Setting them notifies
    // the window, which asks again: that inner call does nothing.
    void recompute();

private:
    PayrollRules m_rules;
    QList<CurrencyEdit *> m_editors;
    int m_earningCount = 0;
    EmployeeProfile m_profile;
    YearToDate m_before;
    QString m_month;
    bool m_recomputing = false;
};
