#pragma once

#include "monthcomputation.h"

#include <QList>
#include <QString>

class CurrencyEdit;
class Progress;

// The computed items (contributions, income tax) in the entry window. With no item set to be
// computed it does nothing at all, and entry behaves as it always has.
class ComputedEntry {
public:
    // Reads the items' rules; the editors of computed items become read-only.
    void setUp(const QList<CurrencyEdit *> &editors, int earningCount);
    bool active() const { return m_rules.computes(); }

    // Every row of the worksheet of `month`, after it has been filled.
    void computeWorksheet(const QString &month);

    // Reads what the tax of `employee` in `month` depends on besides the editors.
    void loadEmployee(qint64 employee, const QString &month);
    // Sets the computed editors from the amounts typed in the others.
    void recompute();

    // The entered months of `month`'s year after it: their tax may change with `month`.
    QStringList laterMonthsOfYear(const QString &month) const;
    // Recomputes the tax of those months in GZB, in order, in one transaction, counting them
    // on `progress`; cancelled, it changes none of them.
    void recomputeStoredMonths(const QStringList &months, Progress &progress);

private:
    PayrollRules m_rules;
    QList<CurrencyEdit *> m_editors;
    int m_earningCount = 0;
    EmployeeProfile m_profile;
    YearToDate m_before;
    QString m_month;
    bool m_recomputing = false;
};
