#pragma once

#include "currency.h"
#include "monthcomputation.h"
#include "payrollrules.h"
#include "query.h"
#include "worksheet.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class DbError;

// The month the salary entry window works on, without its controls: the month's status, its
// claim, its worksheet (Temp_GZB) and the employee list over it (AQ2). The window binds it to
// its boxes and buttons. The statements that read, prepare, store, save and delete the month
// run here, in the order the window has always run them.
//
// A month is either chosen (its status read, nothing held) or being entered (claimed, its
// worksheet prepared and listed). A month being entered is this connection's alone: no other
// copy prepares, deletes or recomputes it until it is saved, cancelled or given up.
class EntryMonth {
public:
    using Status = Worksheet::MonthStatus;
    // Called while long work goes on, so that the clerk sees it and may cancel it.
    using Pulse = std::function<void()>;
    using Step = std::function<void(int done)>;

    // Reads how the salary items are computed; with no rule they are all typed.
    void readRules();
    const PayrollRules &rules() const { return m_rules; }

    // The window is shown: the connection's worksheet is emptied, and from now on a month
    // chosen has its status read.
    void activate();
    // Reads the status of `month` afresh, the last entered month included: another copy may
    // have saved a month meanwhile. Until the reading succeeds the status is Unread.
    void choose(const QString &month);

    QString month() const { return m_month; }
    Status status() const { return m_status; }
    // The latest month in GZB; empty when GZB has no rows.
    QString lastMonth() const { return m_lastMonth; }
    bool isEntering() const { return m_entering; }
    // Whether the month being entered is a stored one being adjusted.
    bool isAdjusting() const { return m_adjusting; }
    // While the list is read again after storing an employee: the rows passed on the way back
    // to the employee are not to be shown.
    bool isRereading() const { return m_rereading; }

    // Claims `month` and reads its status again, now that no other copy can change it. False,
    // with nothing held, when another copy holds the month. A claimed month must be prepared
    // next. A closed month is refused (DbError naming it), with nothing held.
    bool claim(const QString &month);
    // Fills the worksheet of the claimed month, computes its computed items, and lists its
    // employees on AQ2. A stored month is what was withheld: adjusting it computes nothing
    // until an employee's amounts are stored. The worksheet is written whole or not at all: a
    // failure or a cancel leaves it empty and the month unclaimed.
    void prepare(const Pulse &pulse);

    struct ItemAmount {
        QString column; // "f1", "k3"
        Currency amount;
    };
    // Writes one employee's amounts, as typed, into the current row of the list, in the order
    // given; reads the list again and moves to the next employee.
    void storeEmployee(const QList<ItemAmount> &amounts);

    struct EmployeeAmounts {
        qint64 employee = 0;
        QList<ItemAmount> amounts;
    };
    // Writes the amounts of several employees into the worksheet, as if each had been typed,
    // and computes the computed items again: all of it or, on a failure, none. The list is
    // read again and stays on the employee it showed. 保存 or 取消 decide as for typed ones.
    void storeEmployees(const QList<EmployeeAmounts> &employees);

    // Replaces the month in GZB by the worksheet, its tax first computed again from the year
    // as GZB holds it now: a later month's tax never rests on months another copy changed
    // since the worksheet was prepared. Of a month adjusted, only the employees stored in it
    // and those whose earlier months changed meanwhile are computed again. False, with GZB as
    // it was, when the worksheet would empty a stored month. The month stays entered until it
    // is closed. The audit trail records the save, or the adjustment of a month entered
    // before, in the same transaction; a month closed meanwhile is refused (DbError naming it).
    bool save(const Pulse &pulse);
    // Ends the entering of the month: the list is closed and the claim given up. The window
    // runs the activation step next, which empties the worksheet.
    void close();

    // A lost connection takes the worksheet and the claim with it: the month is no longer
    // being entered. True when `failure` did that to a month being entered.
    bool giveUpIfLost(const DbError &failure) noexcept;

    enum class Removal { Removed, Kept, HeldElsewhere };
    // Deletes `month` from GZB once `confirmed` says so, claimed meanwhile, so that a month
    // another copy is entering is not deleted under it. A closed month is refused (DbError
    // naming it) before anything is asked. The audit trail records the deletion.
    Removal remove(const QString &month, const std::function<bool()> &confirmed);

    // The entered months of `month`'s year after it: their tax may change with `month`.
    QStringList laterMonthsOfYear(const QString &month) const;
    struct Recomputation {
        // Months another copy is entering: left for that copy, whose save computes their tax
        // afresh.
        QStringList held;
        // The first closed month met: it and the months after it keep their tax.
        QString stoppedAt;
    };
    // Recomputes the tax of those months in GZB, in order, in one transaction, each with its
    // row in the audit trail; cancelled, it changes none of them. It stops at a closed month.
    // After saving an adjusted month only the employees computed again in it are, since
    // nobody else's year changed.
    Recomputation recomputeLaterMonths(const QStringList &months, const Step &step);

private:
    void giveUp() noexcept;
    std::map<qint64, YearToDate> yearsBefore() const;
    Employees employeesToCompute() const;
    // Reads the list again over the changed worksheet, back at `position`, quietly.
    void rereadList(const Query::Bookmark &position);

    PayrollRules m_rules;
    bool m_activated = false;
    QString m_month;
    Status m_status = Status::Unread;
    QString m_lastMonth;
    bool m_entering = false;
    bool m_rereading = false;
    // Of a stored month being adjusted: each employee's year before it as it was prepared,
    // and the employees whose amounts were stored.
    bool m_adjusting = false;
    std::map<qint64, YearToDate> m_yearsAsPrepared;
    std::set<qint64> m_stored;
    // The employees the last save computed again.
    Employees m_computed;
};
