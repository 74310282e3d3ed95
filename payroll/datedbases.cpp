#include "datedbases.h"

#include "query.h"

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
