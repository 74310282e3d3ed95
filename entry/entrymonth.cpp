#include "entrymonth.h"

#include "audittrail.h"
#include "data.h"
#include "dberror.h"
#include "monthclaim.h"
#include "monthclose.h"
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

// The employees whose year differs between `before` and `after`; one missing from either
// has had nothing.
std::set<qint64> yearsChanged(const std::map<qint64, YearToDate> &before,
                              const std::map<qint64, YearToDate> &after) {
    static const YearToDate nothing;
    const auto yearIn = [](const std::map<qint64, YearToDate> &years, qint64 employee) {
        const auto found = years.find(employee);
        return found == years.end() ? nothing : found->second;
    };
    std::set<qint64> changed;
    for (const auto *years : {&before, &after})
        for (const auto &[employee, year] : *years)
            if (yearIn(before, employee) != yearIn(after, employee))
                changed.insert(employee);
    return changed;
}

// The audit row of a change to `month` made in the running transaction: GZB as it was
// `before`, and as it is now.
void recordChange(AuditTrail::Action action, const QString &month, const MonthFigures &before) {
    AuditTrail::record(DM->ADC, {.month = month,
                                 .action = action,
                                 .before = before,
                                 .after = monthFigures(DM->ADC, month),
                                 .file = {},
                                 .sha256 = {},
                                 .reason = {}});
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
    requireMonthOpen(DM->ADC, month);
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
        m_adjusting = m_status == Status::Entered;
        m_stored.clear();
        m_computed.reset();
        m_yearsAsPrepared.clear();
        if (m_adjusting && m_rules.taxItem())
            m_yearsAsPrepared = yearsBefore();
        else if (!m_adjusting && m_rules.computes())
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
    const qint64 employee = list.field("ygh").asInteger();
    updateWorksheetRow(employee, amounts);
    m_stored.insert(employee);
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
        std::set<qint64> imported;
        for (const EmployeeAmounts &employee : employees) {
            updateWorksheetRow(employee.employee, employee.amounts);
            imported.insert(employee.employee);
        }
        // Only those imported changed: everyone else keeps what was withheld from them.
        if (m_rules.computes())
            computeMonth(DM->ADC, m_rules, "temp_gzb", m_month, false, imported);
        transaction.commit();
        m_stored.merge(imported);
    }
    rereadList(position);
}

std::map<qint64, YearToDate> EntryMonth::yearsBefore() const {
    return readYearsBefore(DM->ADC, m_rules, readProfiles(DM->ADC), m_month);
}

Employees EntryMonth::employeesToCompute() const {
    if (!m_adjusting)
        return std::nullopt;
    std::set<qint64> employees = m_stored;
    if (m_rules.taxItem())
        employees.merge(yearsChanged(m_yearsAsPrepared, yearsBefore()));
    return employees;
}

bool EntryMonth::save(const Pulse &pulse) {
    Transaction transaction(DM->ADC);
    requireMonthOpen(DM->ADC, m_month);
    const Employees computed = employeesToCompute();
    const MonthFigures before = monthFigures(DM->ADC, m_month);
    if (m_rules.taxItem())
        computeMonth(DM->ADC, m_rules, "temp_gzb", m_month, true, computed);
    if (!Worksheet::store(m_status, m_month))
        return false;
    pulse();
    const auto action =
        m_status == Status::Entered ? AuditTrail::Action::Adjust : AuditTrail::Action::Save;
    recordChange(action, m_month, before);
    transaction.commit();
    m_computed = computed;
    return true;
}

void EntryMonth::close() {
    m_entering = false;
    m_adjusting = false;
    DM->AQ2.close();
    monthClaim().release();
}

void EntryMonth::giveUp() noexcept {
    m_entering = false;
    m_adjusting = false;
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
    requireMonthOpen(DM->ADC, month);
    if (!confirmed())
        return Removal::Kept;
    Transaction transaction(DM->ADC);
    requireMonthOpen(DM->ADC, month);
    const MonthFigures before = monthFigures(DM->ADC, month);
    Worksheet::remove(month);
    recordChange(AuditTrail::Action::Delete, month, before);
    transaction.commit();
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
// A closed month's tax is final, and the months after it withhold on top of it: recomputing
// them would make their tax rest on a month other than the one closed.
EntryMonth::Recomputation EntryMonth::recomputeLaterMonths(const QStringList &months,
                                                           const Step &step) {
    const auto unclaim = qScopeGuard(releaseQuietly);
    Recomputation outcome;
    Transaction transaction(DM->ADC);
    MonthComputation computation(DM->ADC, m_rules, m_computed);
    for (int done = 0; done < months.size(); ++done) {
        step(done);
        const QString &later = months.at(done);
        if (isMonthClosed(DM->ADC, later)) {
            outcome.stoppedAt = later;
            break;
        }
        if (!monthClaim().claim(later)) {
            outcome.held << later;
            continue;
        }
        const MonthFigures before = monthFigures(DM->ADC, later);
        computation.compute("GZB", later, true);
        recordChange(AuditTrail::Action::Recompute, later, before);
    }
    step(int(months.size()));
    transaction.commit();
    return outcome;
}
