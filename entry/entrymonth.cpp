#include "entrymonth.h"

#include "data.h"
#include "dberror.h"
#include "monthclaim.h"
#include "monthcomputation.h"
#include "sqllines.h"
#include "transaction.h"

#include <QScopeGuard>
#include <QScopedValueRollback>

namespace {

MonthClaim &monthClaim() {
    return DM->ADC.monthClaim();
}

// After a failure the claim may be beyond giving up: with the connection lost, the server
// has dropped it already; otherwise it ends with the connection at the latest.
void releaseQuietly() noexcept {
    try {
        monthClaim().release();
    } catch (const DbError &) {
    }
}

} // namespace

void EntryMonth::readRules() {
    m_rules = readPayrollRules(DM->ADC);
}

void EntryMonth::activate() {
    Worksheet::empty();
    m_activated = true;
}

void EntryMonth::choose(const QString &month) {
    m_month = month;
    m_status = Status::Unread;
    if (!m_activated)
        return;
    Query &latest = setSql(DM->AQ1, {"select max(ny) as ny from GZB  "});
    latest.open();
    m_lastMonth = latest.field("ny").asString().trimmed();
    if (m_lastMonth.isEmpty()) {
        m_status = Status::FirstUse;
        return;
    }
    Query &stored = setSql(DM->AQ1, {"select * from GZB where ny=:ny "});
    stored.param("ny").setText(month);
    stored.open();
    m_status = stored.isEmpty() ? Status::Carried : Status::Entered;
}

bool EntryMonth::claim(const QString &month) {
    if (!monthClaim().claim(month))
        return false;
    auto unclaim = qScopeGuard(releaseQuietly);
    choose(month);
    unclaim.dismiss();
    return true;
}

void EntryMonth::prepare(const Pulse &pulse) {
    auto unclaim = qScopeGuard(releaseQuietly);
    {
        Transaction transaction(DM->ADC);
        Worksheet::empty();
        Worksheet::fill(m_status, m_month, m_lastMonth);
        pulse();
        if (m_rules.computes())
            computeMonth(DM->ADC, m_rules, "temp_gzb", m_month);
        pulse();
        transaction.commit();
    }
    setSql(DM->AQ2, {"select * from temp_gzb order by ygh"}).open();
    unclaim.dismiss();
    m_entering = true;
}

namespace {

void updateWorksheetRow(qint64 employee, const QList<EntryMonth::ItemAmount> &amounts) {
    QStringList lines = {"update temp_gzb set "};
    for (const EntryMonth::ItemAmount &item : amounts)
        lines << item.column + "=:" + item.column + ",";
    lines << "ny=ny where ygh=:ygh";
    Query &update = setSql(DM->AQ1, lines);
    for (const EntryMonth::ItemAmount &item : amounts)
        update.param(item.column).setCurrency(item.amount);
    update.param("ygh").setInteger(employee);
    update.execSql();
}

} // namespace

void EntryMonth::rereadList(const Query::Bookmark &position) {
    const QScopedValueRollback<bool> quiet(m_rereading, true);
    Query &list = DM->AQ2;
    list.close();
    list.open();
    list.gotoBookmark(position);
}

void EntryMonth::storeEmployee(const QList<ItemAmount> &amounts) {
    Query &list = DM->AQ2;
    if (!list.isOpen() || list.isEmpty())
        return;
    const Query::Bookmark position = list.bookmark();
    updateWorksheetRow(list.field("ygh").asInteger(), amounts);
    // The row moved on to below is the one shown: the next move always lands on a row.
    rereadList(position);
    list.next();
}

void EntryMonth::storeEmployees(const QList<EmployeeAmounts> &employees) {
    Query &list = DM->AQ2;
    if (!m_entering || employees.isEmpty())
        return;
    const Query::Bookmark position = list.bookmark();
    {
        Transaction transaction(DM->ADC);
        for (const EmployeeAmounts &employee : employees)
            updateWorksheetRow(employee.employee, employee.amounts);
        if (m_rules.computes())
            computeMonth(DM->ADC, m_rules, "temp_gzb", m_month);
        transaction.commit();
    }
    rereadList(position);
}

bool EntryMonth::save(const Pulse &pulse) {
    Transaction transaction(DM->ADC);
    if (m_rules.taxItem())
        computeMonth(DM->ADC, m_rules, "temp_gzb", m_month, true);
    if (!Worksheet::store(m_status, m_month))
        return false;
    pulse();
    transaction.commit();
    return true;
}

void EntryMonth::close() {
    m_entering = false;
    DM->AQ2.close();
    monthClaim().release();
}

void EntryMonth::giveUp() noexcept {
    m_entering = false;
    DM->AQ2.close();
    releaseQuietly();
}

bool EntryMonth::giveUpIfLost(const DbError &failure) noexcept {
    // A statement the program stopped waiting for took its session with it, like a lost one.
    const bool sessionGone =
        failure.kind() == DbError::Kind::ConnectionLost || DM->ADC.sessionEnded();
    if (!sessionGone || !m_entering)
        return false;
    giveUp();
    return true;
}

EntryMonth::Removal EntryMonth::remove(const QString &month,
                                       const std::function<bool()> &confirmed) {
    if (!monthClaim().claim(month))
        return Removal::HeldElsewhere;
    const auto unclaim = qScopeGuard(releaseQuietly);
    if (!confirmed())
        return Removal::Kept;
    Worksheet::remove(month);
    return Removal::Removed;
}

QStringList EntryMonth::laterMonthsOfYear(const QString &month) const {
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

// Each month is claimed while it is recomputed; one that cannot be is skipped, never waited
// for, since its holder may be typing for an hour.
QStringList EntryMonth::recomputeLaterMonths(const QStringList &months, const Step &step) {
    const auto unclaim = qScopeGuard(releaseQuietly);
    QStringList held;
    Transaction transaction(DM->ADC);
    for (int done = 0; done < months.size(); ++done) {
        step(done);
        if (!monthClaim().claim(months.at(done))) {
            held << months.at(done);
            continue;
        }
        computeMonth(DM->ADC, m_rules, "GZB", months.at(done), true);
    }
    step(int(months.size()));
    transaction.commit();
    return held;
}
