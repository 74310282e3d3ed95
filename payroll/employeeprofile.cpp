#include "employeeprofile.h"

#include "query.h"

#include <QStringList>

namespace {

Currency amount(const Query &query, const char *column) {
    return Currency::fromUnits(query.field(QLatin1String(column)).asInteger());
}

void openFor(Query &query, const QString &sql, std::optional<qint64> employee) {
    query.close();
    query.clearSql();
    query.addLine(sql + (employee ? " where ygh=:ygh" : QString()));
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
    openFor(query, "select * from YGJS", employee);
    for (; !query.eof(); query.next()) {
        EmployeeProfile &profile = profiles[query.field("ygh").asInteger()];
        profile.socialInsuranceBase = amount(query, "sbjs");
        profile.housingFundBase = amount(query, "gjjjs");
        profile.otherDeductions = amount(query, "qtkc");
        profile.opening = {query.field("qcnd").asString().trimmed(),
                           amount(query, "qcsr"),
                           amount(query, "qcsqkc"),
                           amount(query, "qczxkc"),
                           amount(query, "qcyjse"),
                           int(query.field("qcys").asInteger())};
    }
    openFor(query, "select * from YGZXKC", employee);
    for (; !query.eof(); query.next())
        profiles[query.field("ygh").asInteger()].specialDeductions.push_back(
            {query.field("lb").asString(), amount(query, "je"), query.field("qsny").asString(),
             query.field("zzny").asString().trimmed()});
    return profiles;
}

const QStringList &specialDeductionKinds() {
    static const QStringList kinds = {"子女教育", "3岁以下婴幼儿照护", "赡养老人",
                                      "继续教育", "住房贷款利息",      "住房租金"};
    return kinds;
}
