#include "yearswitches.h"

#include "payrollrules.h"
#include "query.h"
#include "withholding.h"

#include <algorithm>

namespace {

Currency times(Currency amount, int count) {
    Currency total;
    for (int i = 0; i < count; ++i)
        total += amount;
    return total;
}

} // namespace

YearSwitches switchesIn(const YearChoices &choices, const QString &month) {
    const auto found = choices.find(month.left(4));
    return found == choices.end() ? YearSwitches() : found->second;
}

Currency basicDeductionIn(const YearSwitches &switches, const YearToDate &before,
                          const QString &month, Currency monthly) {
    int months = 0;
    if (switches.wholeYearDeduction)
        months = 12;
    else if (switches.deductionSinceJanuary)
        months = month.right(2).toInt();
    else
        return monthly;
    return std::max(Currency(), times(monthly, months) - before.basicDeductions);
}

std::map<qint64, YearChoices> readYearChoices(Connection &connection,
                                              std::optional<qint64> employee) {
    std::map<qint64, YearChoices> choices;
    Query query(connection);
    query.addLine("select * from YGNDSZ" + QString(employee ? " where ygh=:ygh" : "") +
                  " order by ygh, nd");
    if (employee)
        query.param("ygh").setInteger(*employee);
    query.open();
    for (; !query.eof(); query.next())
        choices[query.field("ygh").asInteger()][query.field("nd").asString()] = {
            query.field("nzjhb").asBoolean(), query.field("qnjc").asBoolean(),
            query.field("ljjc").asBoolean()};
    return choices;
}

bool previousYearAllowsWholeYearDeduction(Connection &connection, qint64 employee,
                                          const QString &year) {
    const PayrollRules rules = readPayrollRules(connection);
    const QString previous = QString::number(year.toInt() - 1);
    Query query(connection);
    query.addLine("select count(*) as n, sum(" + rules.taxableIncomeSql() +
                  ") as sr from GZB where ygh=:ygh and ny>=:first and ny<=:last");
    query.param("ygh").setInteger(employee);
    query.param("first").setText(previous + "01");
    query.param("last").setText(previous + "12");
    query.open();
    const qint64 months = query.field("n").asInteger();
    return months == 0 ||
           (months == 12 && query.field("sr").asCurrency() <= Currency::fromYuan(60000));
}

void storeYearChoices(Connection &connection, qint64 employee, const YearChoices &choices) {
    Query store(connection);
    store.addLine("delete from YGNDSZ where ygh=:ygh");
    store.param("ygh").setInteger(employee);
    store.execSql();
    for (const auto &[year, switches] : choices) {
        if (switches == YearSwitches())
            continue;
        store.close();
        store.clearSql();
        store.addLine("insert into YGNDSZ (ygh,nd,nzjhb,qnjc,ljjc) values "
                      "(:ygh,:nd,:nzjhb,:qnjc,:ljjc)");
        store.param("ygh").setInteger(employee);
        store.param("nd").setText(year);
        store.param("nzjhb").setBoolean(switches.bonusWithPay);
        store.param("qnjc").setBoolean(switches.wholeYearDeduction);
        store.param("ljjc").setBoolean(switches.deductionSinceJanuary);
        store.execSql();
    }
}
