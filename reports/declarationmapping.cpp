#include "declarationmapping.h"

#include "query.h"
#include "salarycolumns.h"
#include "transaction.h"

#include <map>

namespace {

struct NameRule {
    const char *part;
    const char *heading;
};

// Names first that contain another's part: "补充养老" before "养老".
const NameRule deductionNames[] = {
    {"年金", "企业(职业)年金"}, {"税延", "税延养老保险"},     {"商业健康", "商业健康保险"},
    {"健康险", "商业健康保险"}, {"捐赠", "准予扣除的捐赠额"}, {"公积金", "住房公积金"},
    {"养老", "基本养老保险费"}, {"医疗", "基本医疗保险费"},   {"医保", "基本医疗保险费"},
    {"失业", "失业保险费"},
};

// The employee's rates that are common across the country: 8 % pension, 2 % medical,
// 0.5 % unemployment.
QString headingOfRate(const Percentage &rate) {
    switch (rate.units()) {
    case 8 * Percentage::unitsPerPercent:
        return QStringLiteral("基本养老保险费");
    case 2 * Percentage::unitsPerPercent:
        return QStringLiteral("基本医疗保险费");
    case Percentage::unitsPerPercent / 2:
        return QStringLiteral("失业保险费");
    default:
        return QString();
    }
}

} // namespace

const QStringList &itemHeadings() {
    static const QStringList headings = {
        QStringLiteral("本期收入"),         QStringLiteral("本期免税收入"),
        QStringLiteral("基本养老保险费"),   QStringLiteral("基本医疗保险费"),
        QStringLiteral("失业保险费"),       QStringLiteral("住房公积金"),
        QStringLiteral("企业(职业)年金"),   QStringLiteral("商业健康保险"),
        QStringLiteral("税延养老保险"),     QStringLiteral("其他"),
        QStringLiteral("准予扣除的捐赠额"), QStringLiteral("减免税额")};
    return headings;
}

QString guessedHeading(const QString &name, bool deduction,
                       const std::optional<ItemMethod> &method) {
    if (!deduction)
        return method && method->untaxed ? QStringLiteral("本期免税收入")
                                         : QStringLiteral("本期收入");
    if (method && method->method == Method::IncomeTax)
        return QString();
    if (method && method->method == Method::Percentage &&
        method->base == ContributionBase::HousingFund)
        return QStringLiteral("住房公积金");
    for (const NameRule &rule : deductionNames)
        if (name.contains(QString::fromUtf8(rule.part)))
            return QString::fromUtf8(rule.heading);
    if (method && method->method == Method::Percentage)
        if (const QString byRate = headingOfRate(method->contribution.latest().rate);
            !byRate.isEmpty())
            return byRate;
    // Any other deduction taken before tax lowers the taxable income all the same.
    return method && method->preTax ? QStringLiteral("其他") : QString();
}

std::vector<MappedItem> readDeclarationMapping(Connection &connection) {
    const std::map<qint64, ItemMethod> methods = readItemMethods(connection);
    std::map<qint64, QString> stored;
    Query query(connection);
    query.addLine("select xmbh, lm from GSSBXM order by xmbh");
    query.open();
    for (; !query.eof(); query.next())
        stored[query.field("xmbh").asInteger()] = query.field("lm").asString();

    query.close();
    query.clearSql();
    query.addLine("select bh, mc, S_FK from GZXMZD order by S_FK, bh");
    query.open();
    std::vector<MappedItem> items;
    int ranks[2] = {0, 0}; // earnings, deductions
    for (; !query.eof(); query.next()) {
        MappedItem item;
        item.item = query.field("bh").asInteger();
        item.name = query.field("mc").asString();
        item.deduction = query.field("S_FK").asString() == SalaryColumns::deduction;
        item.slot = ++ranks[item.deduction ? 1 : 0];
        if (const auto found = stored.find(item.item); found != stored.end()) {
            item.heading = found->second;
        } else {
            const auto method = methods.find(item.item);
            item.heading = guessedHeading(item.name, item.deduction,
                                          method == methods.end() ? std::nullopt
                                                                  : std::optional(method->second));
            item.guessed = true;
        }
        items.push_back(item);
    }
    return items;
}

void storeDeclarationMapping(Connection &connection, const std::vector<MappedItem> &items) {
    Transaction transaction(connection);
    Query store(connection);
    store.addLine("delete from GSSBXM");
    store.execSql();
    store.clearSql();
    store.addLine("insert into GSSBXM (xmbh, lm) values (:xmbh, :lm)");
    for (const MappedItem &item : items) {
        store.param("xmbh").setInteger(item.item);
        store.param("lm").setText(item.heading);
        store.execSql();
    }
    transaction.commit();
}
