#include "syntheticdata.h"

#include "connection.h"
#include "currency.h"
#include "databasesetup.h"
#include "monthkey.h"
#include "query.h"
#include "salarycolumns.h"
#include "transaction.h"
#include "writebatch.h"

namespace DatabaseSetup {
namespace {

constexpr int departmentCount = 20;

int earningCount(const SyntheticSize &size) {
    return (size.items + 1) / 2;
}

void statement(Query &query, const QString &sql) {
    query.clearSql();
    query.addLine(sql);
}

void insertReferenceData(Query &query, const SyntheticSize &size) {
    statement(query, QStringLiteral("insert into BMZD (mc) values (:mc)"));
    for (int department = 1; department <= departmentCount; ++department) {
        query.param(QStringLiteral("mc")).setText(QStringLiteral("部门%1").arg(department));
        query.execSql();
    }
    statement(query, QStringLiteral("insert into YGZD (xm,xb,csrq,gzrq,bmh,zw,zt) values "
                                    "(:xm,:xb,'1980- 1- 1','2000- 1- 1',:bmh,'职员','1')"));
    for (int employee = 1; employee <= size.employees; ++employee) {
        query.param(QStringLiteral("xm")).setText(QStringLiteral("职工%1").arg(employee));
        query.param(QStringLiteral("xb"))
            .setText(employee % 2 ? QStringLiteral("男") : QStringLiteral("女"));
        query.param(QStringLiteral("bmh")).setInteger(employee % departmentCount + 1);
        query.execSql();
    }
    statement(query, QStringLiteral("insert into GZXMZD (mc,S_JC,S_FK) values (:mc,:S_JC,:S_FK)"));
    for (int item = 1; item <= size.items; ++item) {
        query.param(QStringLiteral("mc")).setText(QStringLiteral("项目%1").arg(item));
        query.param(QStringLiteral("S_JC")).setBoolean(item % 2 == 1);
        query.param(QStringLiteral("S_FK"))
            .setText(item <= earningCount(size) ? SalaryColumns::earning
                                                : SalaryColumns::deduction);
        query.execSql();
    }
}

QStringList amountColumns(const SyntheticSize &size) {
    QStringList columns;
    for (int slot = 1; slot <= earningCount(size); ++slot)
        columns << SalaryColumns::itemColumn(SalaryColumns::earning, slot);
    for (int slot = 1; slot <= size.items - earningCount(size); ++slot)
        columns << SalaryColumns::itemColumn(SalaryColumns::deduction, slot);
    return columns;
}

void insertMonths(Query &query, const SyntheticSize &size, QDate today) {
    const QStringList columns = amountColumns(size);
    statement(query, QStringLiteral("insert into GZB (ny,ygh,xm,xb,csrq,gzrq,bmmc,zw,zt,%1) "
                                    "values (:ny,:ygh,:xm,:xb,'1980- 1- 1','2000- 1- 1',:bmmc,"
                                    "'职员','1',:%2)")
                         .arg(columns.join(QChar(',')), columns.join(QStringLiteral(",:"))));
    const QDate thisMonth(today.year(), today.month(), 1);
    for (int back = size.months; back >= 1; --back) {
        const QDate month = thisMonth.addMonths(-back);
        query.param(QStringLiteral("ny")).setText(monthKey(month.year(), month.month()));
        for (int employee = 1; employee <= size.employees; ++employee) {
            query.param(QStringLiteral("ygh")).setInteger(employee);
            query.param(QStringLiteral("xm")).setText(QStringLiteral("职工%1").arg(employee));
            query.param(QStringLiteral("xb"))
                .setText(employee % 2 ? QStringLiteral("男") : QStringLiteral("女"));
            query.param(QStringLiteral("bmmc"))
                .setText(QStringLiteral("部门%1").arg(employee % departmentCount + 1));
            for (int i = 0; i < columns.size(); ++i) {
                // Varied, repeatable amounts in whole fen.
                const qint64 fen = 10000 + (employee * 37 + back * 11 + i * 101) % 500000;
                query.param(columns.at(i))
                    .setCurrency(Currency::fromUnits(fen * (Currency::unitsPerYuan / 100)));
            }
            query.execSql();
        }
    }
}

} // namespace

SyntheticSize parseSyntheticSize(const QString &text) {
    const QStringList parts = text.split(QChar(','));
    const auto fail = [&text] {
        throw SetupError(QStringLiteral("\"%1\" is not EMPLOYEES,ITEMS,MONTHS with at least one "
                                        "employee, 1 to %2 items and no negative months")
                             .arg(text)
                             .arg(2 * SalaryColumns::itemsPerKind)
                             .toStdString());
    };
    if (parts.size() != 3)
        fail();
    int numbers[3] = {};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        numbers[i] = parts.at(i).trimmed().toInt(&ok);
        if (!ok)
            fail();
    }
    const SyntheticSize size{numbers[0], numbers[1], numbers[2]};
    if (size.employees < 1 || size.items < 1 || size.items > 2 * SalaryColumns::itemsPerKind ||
        size.months < 0)
        fail();
    return size;
}

void fillSyntheticData(Connection &connection, const SyntheticSize &size, QDate today) {
    Query query(connection);
    Transaction transaction(connection);
    WriteBatch batch(connection);
    insertReferenceData(query, size);
    insertMonths(query, size, today);
    batch.finish();
    transaction.commit();
}

} // namespace DatabaseSetup
