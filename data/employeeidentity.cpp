#include "employeeidentity.h"

#include "dberror.h"
#include "identitydocument.h"
#include "query.h"
#include "transaction.h"

namespace {

// The name of the employee other than `employee` whose document number is `number`.
std::optional<QString> holderOf(Connection &connection, const QString &number, qint64 employee) {
    Query query(connection);
    query.addLine("select a.ygh, b.xm from YGZJ as a left join YGZD as b on b.bh=a.ygh");
    query.addLine("where a.zjhm=:zjhm and a.ygh<>:ygh order by a.ygh");
    query.param("zjhm").setText(number);
    query.param("ygh").setInteger(employee);
    query.open();
    if (query.isEmpty())
        return std::nullopt;
    const QString name = query.field("xm").asString();
    return name.isEmpty() ? QStringLiteral("编号%1").arg(query.field("ygh").asInteger()) : name;
}

IdentityStore store(Connection &connection, qint64 employee,
                    const std::optional<EmployeeIdentity> &asRead,
                    const EmployeeIdentity &identity) {
    Transaction transaction(connection);
    Query store(connection);
    // The employee's row first: a second clerk storing the same employee waits here until this
    // store has landed, and then compares with what it stored.
    store.addLine("update YGZD set zt=zt where bh=:bh");
    store.param("bh").setInteger(employee);
    store.execSql();
    if (readIdentity(connection, employee) != asRead)
        return {IdentityStore::Outcome::ChangedMeanwhile, {}};
    if (!identity.documentNumber.isEmpty())
        if (const std::optional<QString> holder =
                holderOf(connection, identity.documentNumber, employee))
            return {IdentityStore::Outcome::NumberTaken, *holder};
    store.clearSql();
    store.addLine("delete from YGZJ where ygh=:ygh");
    store.param("ygh").setInteger(employee);
    store.execSql();
    store.clearSql();
    store.addLine("insert into YGZJ (ygh,zjlx,zjhm,gj,khyh,yhzh,sjhm)");
    store.addLine("values (:ygh,:zjlx,nullif(:zjhm,''),:gj,nullif(:khyh,''),nullif(:yhzh,''),"
                  "nullif(:sjhm,''))");
    store.param("ygh").setInteger(employee);
    store.param("zjlx").setText(identity.documentKind);
    store.param("zjhm").setText(identity.documentNumber);
    store.param("gj").setText(identity.nationality);
    store.param("khyh").setText(identity.bank);
    store.param("yhzh").setText(identity.account);
    store.param("sjhm").setText(identity.mobile);
    store.execSql();
    transaction.commit();
    return {};
}

} // namespace

EmployeeIdentity noIdentity() {
    return {residentIdentityCard(), {}, QStringLiteral("中国"), {}, {}, {}};
}

std::map<qint64, EmployeeIdentity> readIdentities(Connection &connection,
                                                  std::optional<qint64> employee) {
    Query query(connection);
    query.addLine("select * from YGZJ" + QString(employee ? " where ygh=:ygh" : "") +
                  " order by ygh");
    if (employee)
        query.param("ygh").setInteger(*employee);
    query.open();
    std::map<qint64, EmployeeIdentity> identities;
    for (; !query.eof(); query.next())
        identities[query.field("ygh").asInteger()] = {
            query.field("zjlx").asString(), query.field("zjhm").asString(),
            query.field("gj").asString(),   query.field("khyh").asString(),
            query.field("yhzh").asString(), query.field("sjhm").asString()};
    return identities;
}

std::optional<EmployeeIdentity> readIdentity(Connection &connection, qint64 employee) {
    const std::map<qint64, EmployeeIdentity> identities = readIdentities(connection, employee);
    const auto found = identities.find(employee);
    if (found == identities.end())
        return std::nullopt;
    return found->second;
}

IdentityStore storeIdentity(Connection &connection, qint64 employee,
                            const std::optional<EmployeeIdentity> &asRead,
                            const EmployeeIdentity &identity) {
    try {
        return store(connection, employee, asRead, identity);
    } catch (const DbError &refused) {
        // Another clerk gave the same number to someone else between the look and the insert:
        // the unique index refused it, and the transaction is rolled back by now.
        if (refused.kind() == DbError::Kind::Refused && !identity.documentNumber.isEmpty())
            if (const std::optional<QString> holder =
                    holderOf(connection, identity.documentNumber, employee))
                return {IdentityStore::Outcome::NumberTaken, *holder};
        throw;
    }
}
