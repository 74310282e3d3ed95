#include "taxrelief.h"

#include "query.h"

Currency reliefIn(const TaxRelief &relief, const QString &month) {
    const auto found = relief.find(month);
    return found == relief.end() ? Currency() : found->second;
}

std::map<qint64, TaxRelief> readTaxRelief(Connection &connection, std::optional<qint64> employee) {
    std::map<qint64, TaxRelief> relief;
    Query query(connection);
    query.addLine("select * from YGJMSE" + QString(employee ? " where ygh=:ygh" : "") +
                  " order by ygh, ny");
    if (employee)
        query.param("ygh").setInteger(*employee);
    query.open();
    for (; !query.eof(); query.next())
        relief[query.field("ygh").asInteger()][query.field("ny").asString()] =
            query.field("je").asCurrency();
    return relief;
}

void storeTaxRelief(Connection &connection, qint64 employee, const TaxRelief &relief) {
    Query store(connection);
    store.addLine("delete from YGJMSE where ygh=:ygh");
    store.param("ygh").setInteger(employee);
    store.execSql();
    for (const auto &[month, amount] : relief) {
        if (amount == Currency())
            continue;
        store.close();
        store.clearSql();
        store.addLine("insert into YGJMSE (ygh,ny,je) values (:ygh,:ny,:je)");
        store.param("ygh").setInteger(employee);
        store.param("ny").setText(month);
        store.param("je").setCurrency(amount);
        store.execSql();
    }
}
