#include "datedbases.h"

#include "query.h"

#include <algorithm>

const EmployeeBases &DatedBases::in(const QString &month) const {
    const EmployeeBases *inForce = &initial;
    for (const Dated<EmployeeBases> &change : changes)
        if (change.fromMonth <= month)
            inForce = &change.value;
    return *inForce;
}

const EmployeeBases &DatedBases::latest() const {
    return changes.empty() ? initial : changes.back().value;
}

void DatedBases::setFrom(const QString &month, const EmployeeBases &bases) {
    if (month.isEmpty()) {
        initial = bases;
        return;
    }
    const auto at = std::lower_bound(changes.begin(), changes.end(), month,
                                     [](const Dated<EmployeeBases> &change, const QString &key) {
                                         return change.fromMonth < key;
                                     });
    if (at != changes.end() && at->fromMonth == month)
        at->value = bases;
    else
        changes.insert(at, {month, bases});
}

bool DatedBases::operator==(const DatedBases &other) const {
    return initial == other.initial &&
           std::equal(changes.begin(), changes.end(), other.changes.begin(), other.changes.end(),
                      [](const Dated<EmployeeBases> &a, const Dated<EmployeeBases> &b) {
                          return a.fromMonth == b.fromMonth && a.value == b.value;
                      });
}

std::map<qint64, std::vector<Dated<EmployeeBases>>>
readBaseChanges(Connection &connection, std::optional<qint64> employee) {
    std::map<qint64, std::vector<Dated<EmployeeBases>>> changes;
    Query query(connection);
    query.addLine("select ygh, qsny, sbjs, gjjjs, qtkc from YGJSBD" +
                  QString(employee ? " where ygh=:ygh" : "") + " order by ygh, qsny");
    if (employee)
        query.param("ygh").setInteger(*employee);
    query.open();
    for (; !query.eof(); query.next())
        changes[query.field("ygh").asInteger()].push_back(
            {query.field("qsny").asString(),
             {query.field("sbjs").asCurrency(), query.field("gjjjs").asCurrency(),
              query.field("qtkc").asCurrency()}});
    return changes;
}

void storeBaseChanges(Connection &connection, qint64 employee,
                      const std::vector<Dated<EmployeeBases>> &changes) {
    Query store(connection);
    store.addLine("delete from YGJSBD where ygh=:ygh");
    store.param("ygh").setInteger(employee);
    store.execSql();
    for (const Dated<EmployeeBases> &change : changes) {
        store.clearSql();
        store.addLine("insert into YGJSBD (ygh,qsny,sbjs,gjjjs,qtkc)");
        store.addLine("values (:ygh,:qsny,:sbjs,:gjjjs,:qtkc)");
        store.param("ygh").setInteger(employee);
        store.param("qsny").setText(change.fromMonth);
        store.param("sbjs").setCurrency(change.value.socialInsurance);
        store.param("gjjjs").setCurrency(change.value.housingFund);
        store.param("qtkc").setCurrency(change.value.otherDeductions);
        store.execSql();
    }
}

bool hasStoredMonths(Connection &connection, qint64 employee) {
    Query query(connection);
    query.addLine("select count(*) as n from GZB where ygh=:ygh");
    query.param("ygh").setInteger(employee);
    query.open();
    return query.field("n").asInteger() > 0;
}
