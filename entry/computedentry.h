#pragma once

#include "monthcomputation.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>

class CurrencyEdit;

// The computed items (contributions, income tax) in the entry window. With no item set to be
// computed it does nothing at all, and entry behaves as it always has.
class ComputedEntry {
public:
    // The background of a computed item's box.
    static inline const QColor computedGrey{224, 224, 224};

    // Takes the items' rules; the editors of computed items become read-only, and say how
    // they were computed in their tool tips.
    // `columns` names the worksheet column of each editor.
    void setUp(const QList<CurrencyEdit *> &editors, const QStringList &columns,
               const PayrollRules &rules);
    bool active() const { return m_rules.computes(); }

    // Reads what the tax of `employee` in `month` depends on besides the editors.
    void loadEmployee(qint64 employee, const QString &month);
    // Sets the computed editors from the amounts typed in the others. Setting them notifies
    // the window, which asks again: that inner call does nothing.
    void recompute();

private:
    static void showAsComputed(CurrencyEdit *editor);

    PayrollRules m_rules;
    // The item editors by the column they hold.
    QHash<QString, CurrencyEdit *> m_editors;
    EmployeeProfile m_profile;
    YearToDate m_before;
    QString m_month;
    bool m_recomputing = false;
};
