#include "employeeprofile.h"

#include "query.h"
#include "transaction.h"

#include <QStringList>

namespace {

Currency amount(const Query &query, const char *column) {
    return query.field(QLatin1String(column)).asCurrency();
}

// The rows of `table`, of every employee or one, in the order they were entered.
void openFor(Query &query, const QString &table, const QString &key,
             std::optional<qint64> employee) {
    query.close();
    query.clearSql();
    query.addLine("select * from " + table + (employee ? " where ygh=:ygh" : QString()) +
                  " order by " + key);
    if (employee)
        query.param("ygh").setInteger(*employee);
    query.open();
}

} // namespace

Currency EmployeeProfile::specialDeductionsIn(const QString &month) const {
    Currency total;
    for (const SpecialDeduction &deduction : specialDeductions)
        if (deduction.fromMonth <= month &&
            (deduction.throughMonth.isEmpty() || month <= deduction.throughMonth))
            total += deduction.monthly;
    return total;
}

std::map<qint64, EmployeeProfile> readProfiles(Connection &connection,
                                               std::optional<qint64> employee) {
    std::map<qint64, EmployeeProfile> profiles;
    Query query(connection);
    openFor(query, "YGJS", "ygh", employee);
    for (; !query.eof(); query.next()) {
        EmployeeProfile &profile = profiles[query.field("ygh").asInteger()];
        profile.bases.initial = {amount(query, "sbjs"), amount(query, "gjjjs"),
                                 amount(query, "qtkc")};
        profile.opening = {query.field("qcnd").asString().trimmed(),
                           amount(query, "qcsr"),
                           amount(query, "qcsqkc"),
                           amount(query, "qczxkc"),
                           amount(query, "qcyjse"),
                           int(query.field("qcys").asInteger())};
    }
    openFor(query, "YGZXKC", "ygh, bh", employee);
    for (; !query.eof(); query.next())
        profiles[query.field("ygh").asInteger()].specialDeductions.push_back(
            {query.field("lb").asString(), amount(query, "je"), query.field("qsny").asString(),
             query.field("zzny").asString().trimmed()});
    for (auto &[number, changes] : readBaseChanges(connection, employee))
        profiles[number].bases.changes = std::move(changes);
    for (auto &[number, choices] : readYearChoices(connection, employee))
        profiles[number].years = std::move(choices);
    for (auto &[number, relief] : readTaxRelief(connection, employee))
        profiles[number].taxRelief = std::move(relief);
    return profiles;
}

std::optional<EmployeeProfile> readProfile(Connection &connection, qint64 employee) {
    const std::map<qint64, EmployeeProfile> profiles = readProfiles(connection, employee);
    const auto found = profiles.find(employee);
    if (found == profiles.end())
        return std::nullopt;
    return found->second;
}

bool storeProfile(Connection &connection, qint64 employee,
                  const std::optional<EmployeeProfile> &asRead, const EmployeeProfile &profile) {
    Transaction transaction(connection);
    Query store(connection);
    // The employee's row first: a second clerk saving the same employee waits here until this
    // store has landed, and then compares with what it stored.
    store.addLine("update YGZD set zt=zt where bh=:bh");
    store.param("bh").setInteger(employee);
    store.execSql();
    if (readProfile(connection, employee) != asRead)
        return false;
    for (const char *table : {"YGJS", "YGZXKC"}) {
        store.close();
        store.clearSql();
        store.addLine(QStringLiteral("delete from %1 where ygh=:ygh").arg(table));
        store.param("ygh").setInteger(employee);
        store.execSql();
    }
    store.clearSql();
    store.addLine("insert into YGJS (ygh,sbjs,gjjjs,qtkc,qcnd,qcsr,qcsqkc,qczxkc,qcyjse,qcys)");
    store.addLine("values (:ygh,:sbjs,:gjjjs,:qtkc,:qcnd,:qcsr,:qcsqkc,:qczxkc,:qcyjse,:qcys)");
    store.param("ygh").setInteger(employee);
    store.param("sbjs").setCurrency(profile.bases.initial.socialInsurance);
    store.param("gjjjs").setCurrency(profile.bases.initial.housingFund);
    store.param("qtkc").setCurrency(profile.bases.initial.otherDeductions);
    store.param("qcnd").setText(profile.opening.year);
    store.param("qcsr").setCurrency(profile.opening.income);
    store.param("qcsqkc").setCurrency(profile.opening.preTaxDeductions);
    store.param("qczxkc").setCurrency(profile.opening.specialDeductions);
    store.param("qcyjse").setCurrency(profile.opening.taxWithheld);
    store.param("qcys").setInteger(profile.opening.months);
    store.execSql();
    for (const SpecialDeduction &deduction : profile.specialDeductions) {
        store.clearSql();
        store.addLine("insert into YGZXKC (ygh,lb,je,qsny,zzny)");
        store.addLine(QStringLiteral("values (:ygh,:lb,:je,:qsny,%1)")
                          .arg(deduction.throughMonth.isEmpty() ? "null" : ":zzny"));
        store.param("ygh").setInteger(employee);
        store.param("lb").setText(deduction.kind);
        store.param("je").setCurrency(deduction.monthly);
        store.param("qsny").setText(deduction.fromMonth);
        if (!deduction.throughMonth.isEmpty())
            store.param("zzny").setText(deduction.throughMonth);
        store.execSql();
    }
    storeBaseChanges(connection, employee, profile.bases.changes);
    storeYearChoices(connection, employee, profile.years);
    storeTaxRelief(connection, employee, profile.taxRelief);
    transaction.commit();
    return true;
}

const QStringList &specialDeductionKinds() {
    static const QStringList kinds = {"子女教育",     "3岁以下婴幼儿照护", "赡养老人",  "继续教育",
                                      "住房贷款利息", "住房租金",          "个人养老金"};
    return kinds;
}
