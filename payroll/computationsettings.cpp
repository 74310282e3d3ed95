#include "computationsettings.h"

#include "datedrates.h"
#include "optionalamount.h"
#include "transaction.h"

namespace {

// GZXMJS's codes for the method and the base.
namespace MethodCode {
const QString byHand = QStringLiteral("0");
const QString percentage = QStringLiteral("1");
const QString incomeTax = QStringLiteral("2");
const QString yearEndBonus = QStringLiteral("3");
const QString bonusTax = QStringLiteral("4");
} // namespace MethodCode
namespace BaseCode {
const QString socialInsurance = QStringLiteral("1");
const QString housingFund = QStringLiteral("2");
} // namespace BaseCode

Method methodOf(const QString &code) {
    if (code == MethodCode::percentage)
        return Method::Percentage;
    if (code == MethodCode::incomeTax)
        return Method::IncomeTax;
    if (code == MethodCode::yearEndBonus)
        return Method::YearEndBonus;
    if (code == MethodCode::bonusTax)
        return Method::BonusTax;
    return Method::ByHand;
}

const QString &codeOf(Method method) {
    switch (method) {
    case Method::Percentage:
        return MethodCode::percentage;
    case Method::IncomeTax:
        return MethodCode::incomeTax;
    case Method::YearEndBonus:
        return MethodCode::yearEndBonus;
    case Method::BonusTax:
        return MethodCode::bonusTax;
    case Method::ByHand:
        break;
    }
    return MethodCode::byHand;
}

void run(Query &query, const QString &sql) {
    query.close();
    query.clearSql();
    query.addLine(sql);
}

} // namespace

std::map<qint64, ItemMethod> readItemMethods(Connection &connection, std::optional<qint64> item) {
    std::map<qint64, ItemMethod> methods;
    Query query(connection);
    run(query, "select * from GZXMJS" + QString(item ? " where xmbh=:xmbh" : ""));
    if (item)
        query.param("xmbh").setInteger(*item);
    query.open();
    for (; !query.eof(); query.next())
        methods[query.field("xmbh").asInteger()] = {
            methodOf(query.field("jsfs").asString()),
            {{Percentage::fromUnits(query.field("bl").asInteger()),
              optionalAmount(query.field("xx")), optionalAmount(query.field("sx"))},
             {}},
            query.field("jsjs").asString() == BaseCode::housingFund
                ? ContributionBase::HousingFund
                : ContributionBase::SocialInsurance,
            query.field("sqkc").asBoolean(),
            query.field("bjs").asBoolean()};
    for (auto &[number, changes] : readRateChanges(connection, item))
        if (const auto found = methods.find(number); found != methods.end())
            found->second.contribution.changes = std::move(changes);
    return methods;
}

bool anotherItemComputes(Connection &connection, qint64 item, Method method) {
    Query query(connection);
    run(query, "select count(*) as n from GZXMJS where jsfs=:jsfs and xmbh<>:xmbh");
    query.param("jsfs").setText(codeOf(method));
    query.param("xmbh").setInteger(item);
    query.open();
    return query.field("n").asInteger() > 0;
}

TaxLaw readTaxLaw(Connection &connection) {
    TaxLaw law;
    Query query(connection);
    run(query, "select qsny, sx, sl, sskcs from GSSLB order by qsny, sx is null, sx");
    query.open();
    for (; !query.eof(); query.next())
        law.brackets.push_back({query.field("qsny").asString(),
                                {optionalAmount(query.field("sx")),
                                 Percentage::fromUnits(query.field("sl").asInteger()),
                                 query.field("sskcs").asCurrency()}});
    run(query, "select qsny, je from GSJCFY");
    query.open();
    for (; !query.eof(); query.next())
        law.monthlyDeductions.push_back(
            {query.field("qsny").asString(), query.field("je").asCurrency()});
    return law;
}

BonusLaw readBonusLaw(Connection &connection) {
    BonusLaw law;
    Query query(connection);
    run(query, "select qsny, zzny, sx, sl, sskcs from NZJSLB order by qsny, sx is null, sx");
    query.open();
    for (; !query.eof(); query.next()) {
        const QString from = query.field("qsny").asString();
        law.brackets.push_back({from,
                                {optionalAmount(query.field("sx")),
                                 Percentage::fromUnits(query.field("sl").asInteger()),
                                 query.field("sskcs").asCurrency()}});
        law.lastMonths.push_back({from, query.field("zzny").asString().trimmed()});
    }
    return law;
}

TaxLawFrom readLatestTaxLaw(Connection &connection) {
    TaxLawFrom latest;
    Query query(connection);
    run(query, "select max(qsny) as qsny from GSSLB");
    query.open();
    latest.month = query.field("qsny").asString();
    const TaxLaw law = readTaxLaw(connection);
    latest.monthlyDeduction = law.monthlyDeductionFor(latest.month);
    for (const Dated<TaxBracket> &row : law.brackets)
        if (row.fromMonth == latest.month)
            latest.brackets.push_back(row.value);
    return latest;
}

bool storeItemChange(Connection &connection, const ItemChange &change) {
    Transaction transaction(connection);
    Query store(connection);
    // The item's row first: a second clerk saving the same item waits here until this store
    // has landed, and then compares with what it stored.
    run(store, "update GZXMZD set mc=mc where bh=:bh");
    store.param("bh").setInteger(change.item);
    store.execSql();
    const std::map<qint64, ItemMethod> current = readItemMethods(connection, change.item);
    const auto found = current.find(change.item);
    if ((found == current.end() ? std::optional<ItemMethod>() : found->second) !=
            change.methodAsRead ||
        (change.law && readLatestTaxLaw(connection) != change.lawAsRead))
        return false;

    run(store, "delete from GZXMJS where xmbh=:xmbh");
    store.param("xmbh").setInteger(change.item);
    store.execSql();
    const ItemMethod &method = change.method;
    const ContributionRule &rule = method.contribution.initial;
    run(store, QStringLiteral("insert into GZXMJS (xmbh,jsfs,bl,jsjs,xx,sx,sqkc,bjs) "
                              "values (:xmbh,:jsfs,:bl,:jsjs,%1,%2,:sqkc,:bjs)")
                   .arg(placeOf("xx", rule.floor), placeOf("sx", rule.cap)));
    store.param("xmbh").setInteger(change.item);
    store.param("jsfs").setText(codeOf(method.method));
    store.param("bl").setInteger(rule.rate.units());
    store.param("jsjs").setText(method.base == ContributionBase::HousingFund
                                    ? BaseCode::housingFund
                                    : BaseCode::socialInsurance);
    bindOptional(store, "xx", rule.floor);
    bindOptional(store, "sx", rule.cap);
    store.param("sqkc").setBoolean(method.preTax);
    store.param("bjs").setBoolean(method.untaxed);
    store.execSql();
    storeRateChanges(connection, change.item, method.contribution.changes);
    if (const std::optional<TaxLawFrom> &law = change.law) {
        for (const char *table : {"GSSLB", "GSJCFY"}) {
            run(store, QStringLiteral("delete from %1 where qsny=:qsny").arg(table));
            store.param("qsny").setText(law->month);
            store.execSql();
        }
        run(store, "insert into GSJCFY (qsny,je) values (:qsny,:je)");
        store.param("qsny").setText(law->month);
        store.param("je").setCurrency(law->monthlyDeduction);
        store.execSql();
        for (const TaxBracket &line : law->brackets) {
            run(store, QStringLiteral("insert into GSSLB (qsny,sx,sl,sskcs) "
                                      "values (:qsny,%1,:sl,:sskcs)")
                           .arg(placeOf("sx", line.upTo)));
            store.param("qsny").setText(law->month);
            bindOptional(store, "sx", line.upTo);
            store.param("sl").setInteger(line.rate.units());
            store.param("sskcs").setCurrency(line.quickDeduction);
            store.execSql();
        }
    }
    transaction.commit();
    return true;
}
