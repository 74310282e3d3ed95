#include "datedrates.h"

#include "optionalamount.h"

std::map<qint64, std::vector<Dated<ContributionRule>>> readRateChanges(Connection &connection,
                                                                       std::optional<qint64> item) {
    std::map<qint64, std::vector<Dated<ContributionRule>>> changes;
    Query query(connection);
    query.addLine("select xmbh, qsny, bl, xx, sx from GZXMJSBD" +
                  QString(item ? " where xmbh=:xmbh" : "") + " order by xmbh, qsny");
    if (item)
        query.param("xmbh").setInteger(*item);
    query.open();
    for (; !query.eof(); query.next())
        changes[query.field("xmbh").asInteger()].push_back(
            {query.field("qsny").asString(),
             {Percentage::fromUnits(query.field("bl").asInteger()),
              optionalAmount(query.field("xx")), optionalAmount(query.field("sx"))}});
    return changes;
}

void storeRateChanges(Connection &connection, qint64 item,
                      const std::vector<Dated<ContributionRule>> &changes) {
    Query store(connection);
    store.addLine("delete from GZXMJSBD where xmbh=:xmbh");
    store.param("xmbh").setInteger(item);
    store.execSql();
    for (const Dated<ContributionRule> &change : changes) {
        const ContributionRule &rule = change.value;
        store.clearSql();
        store.addLine(QStringLiteral("insert into GZXMJSBD (xmbh,qsny,bl,xx,sx) "
                                     "values (:xmbh,:qsny,:bl,%1,%2)")
                          .arg(placeOf("xx", rule.floor), placeOf("sx", rule.cap)));
        store.param("xmbh").setInteger(item);
        store.param("qsny").setText(change.fromMonth);
        store.param("bl").setInteger(rule.rate.units());
        bindOptional(store, "xx", rule.floor);
        bindOptional(store, "sx", rule.cap);
        store.execSql();
    }
}

bool anyStoredMonth(Connection &connection) {
    Query query(connection);
    query.addLine("select count(*) as n from GZB");
    query.open();
    return query.field("n").asInteger() > 0;
}
