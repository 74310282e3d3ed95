#include "demodata.h"

#include "connection.h"
#include "currency.h"
#include "monthkey.h"
#include "query.h"
#include "transaction.h"

#include <array>

namespace DatabaseSetup {
namespace {

struct Employee {
    const char *name;
    const char *sex;
    const char *born;
    const char *started;
    int department; // position in the department list, from 1
    const char *position;
    int baseSalary; // yuan
    bool active;
};

const std::array departments = {"办公室", "财务科", "技术部", "销售部"};

const std::array employees = {
    Employee{"张建国", "男", "1968- 4-12", "1990- 7- 1", 1, "主任", 7800, true},
    Employee{"李秀英", "女", "1975-11- 3", "1996- 8-15", 1, "文员", 4600, true},
    Employee{"王志强", "男", "1972- 2-28", "1994- 3- 1", 2, "会计主管", 7200, true},
    Employee{"刘丽华", "女", "1983- 9-17", "2005- 9- 1", 2, "出纳", 5100, true},
    Employee{"陈明", "男", "1986- 6- 6", "2009- 7- 6", 3, "工程师", 8900, true},
    Employee{"杨静", "女", "1990-12-24", "2013- 7- 1", 3, "工程师", 8300, true},
    Employee{"赵磊", "男", "1992- 3- 9", "2015- 3-16", 3, "技术员", 6200, true},
    Employee{"黄晓燕", "女", "1994- 8-21", "2017- 6-26", 3, "技术员", 5900, true},
    Employee{"周伟", "男", "1981- 1-30", "2004- 2-16", 4, "销售经理", 7600, true},
    Employee{"吴芳", "女", "1988- 5-11", "2011- 4- 1", 4, "销售代表", 5400, true},
    Employee{"徐海涛", "男", "1995-10- 2", "2019- 7- 8", 4, "销售代表", 5200, true},
    Employee{"孙丽", "女", "1979- 7-19", "2001- 3- 5", 1, "档案管理员", 4800, true},
    Employee{"马国庆", "男", "1963-10- 1", "1985- 9- 1", 2, "会计", 6000, false},
};

struct Item {
    const char *name;
    bool carried;
    const char *kind; // "0" earning, "1" deduction
};

// Earnings first: an item's amount column is its rank within its kind.
const std::array items = {
    Item{"基本工资", true, "0"},   Item{"岗位津贴", true, "0"},    Item{"加班费", false, "0"},
    Item{"绩效奖金", false, "0"},  Item{"养老保险", true, "1"},    Item{"医疗保险", true, "1"},
    Item{"住房公积金", true, "1"}, Item{"个人所得税", false, "1"}, Item{"事假扣款", false, "1"},
};

void run(Query &query, std::initializer_list<QString> lines) {
    query.clearSql();
    for (const QString &line : lines)
        query.addLine(line);
}

void insertReferenceData(Query &query) {
    for (const char *name : departments) {
        run(query, {QStringLiteral("insert into BMZD (mc) values (:mc)")});
        query.param(QStringLiteral("mc")).setText(QString::fromUtf8(name));
        query.execSql();
    }
    for (const Employee &e : employees) {
        run(query, {QStringLiteral("insert into YGZD (xm,xb,csrq,gzrq,bmh,zw,zt)"),
                    QStringLiteral("values (:xm,:xb,:csrq,:gzrq,:bmh,:zw,:zt)")});
        query.param(QStringLiteral("xm")).setText(QString::fromUtf8(e.name));
        query.param(QStringLiteral("xb")).setText(QString::fromUtf8(e.sex));
        query.param(QStringLiteral("csrq")).setText(QString::fromUtf8(e.born));
        query.param(QStringLiteral("gzrq")).setText(QString::fromUtf8(e.started));
        query.param(QStringLiteral("bmh")).setInteger(e.department);
        query.param(QStringLiteral("zw")).setText(QString::fromUtf8(e.position));
        query.param(QStringLiteral("zt"))
            .setText(e.active ? QStringLiteral("1") : QStringLiteral("2"));
        query.execSql();
    }
    for (const Item &item : items) {
        run(query, {QStringLiteral("insert into GZXMZD (mc,S_JC,S_FK) values (:mc,:S_JC,:S_FK)")});
        query.param(QStringLiteral("mc")).setText(QString::fromUtf8(item.name));
        query.param(QStringLiteral("S_JC")).setBoolean(item.carried);
        query.param(QStringLiteral("S_FK")).setText(QString::fromUtf8(item.kind));
        query.execSql();
    }
}

// A month's amounts for one employee, varied but repeatable, rounded to the fen.
struct Pay {
    Currency base, allowance, overtime, bonus;
    Currency pension, medical, housing, tax, leave;
};

Currency yuan(double amount) {
    return Currency::fromDouble(amount).roundedToFen();
}

Pay payFor(const Employee &e, int employeeIndex, int monthIndex) {
    const int spread = (employeeIndex * 7 + monthIndex * 3) % 10;
    Pay pay;
    pay.base = yuan(e.baseSalary);
    pay.allowance = yuan(e.baseSalary * 0.15);
    pay.overtime = yuan(spread < 4 ? spread * 85.5 : 0);
    pay.bonus = yuan(300 + spread * 47.3);
    pay.pension = yuan(e.baseSalary * 0.08);
    pay.medical = yuan(e.baseSalary * 0.02 + 3);
    pay.housing = yuan(e.baseSalary * 0.07);
    const Currency taxable = pay.base + pay.allowance + pay.overtime + pay.bonus - pay.pension -
                             pay.medical - pay.housing -
                             Currency::fromUnits(5000 * Currency::unitsPerYuan);
    pay.tax = taxable > Currency() ? yuan(taxable.toDouble() * 0.03) : Currency();
    pay.leave = yuan(spread == 9 ? e.baseSalary / 21.75 : 0);
    return pay;
}

void insertMonth(Query &query, const QString &key, int monthIndex) {
    for (std::size_t i = 0; i < employees.size(); ++i) {
        const Employee &e = employees[i];
        if (!e.active)
            continue;
        const Pay pay = payFor(e, int(i), monthIndex);
        run(query, {QStringLiteral("insert into GZB (ny,ygh,xm,xb,csrq,gzrq,bmmc,zw,zt,"),
                    QStringLiteral("f1,f2,f3,f4,k1,k2,k3,k4,k5)"),
                    QStringLiteral("values (:ny,:ygh,:xm,:xb,:csrq,:gzrq,:bmmc,:zw,'1',"),
                    QStringLiteral(":f1,:f2,:f3,:f4,:k1,:k2,:k3,:k4,:k5)")});
        query.param(QStringLiteral("ny")).setText(key);
        query.param(QStringLiteral("ygh")).setInteger(qint64(i) + 1);
        query.param(QStringLiteral("xm")).setText(QString::fromUtf8(e.name));
        query.param(QStringLiteral("xb")).setText(QString::fromUtf8(e.sex));
        query.param(QStringLiteral("csrq")).setText(QString::fromUtf8(e.born));
        query.param(QStringLiteral("gzrq")).setText(QString::fromUtf8(e.started));
        query.param(QStringLiteral("bmmc"))
            .setText(QString::fromUtf8(departments[std::size_t(e.department - 1)]));
        query.param(QStringLiteral("zw")).setText(QString::fromUtf8(e.position));
        const std::array amounts = {std::pair{"f1", pay.base},     std::pair{"f2", pay.allowance},
                                    std::pair{"f3", pay.overtime}, std::pair{"f4", pay.bonus},
                                    std::pair{"k1", pay.pension},  std::pair{"k2", pay.medical},
                                    std::pair{"k3", pay.housing},  std::pair{"k4", pay.tax},
                                    std::pair{"k5", pay.leave}};
        for (const auto &[column, amount] : amounts)
            query.param(QString::fromLatin1(column)).setCurrency(amount);
        query.execSql();
    }
}

} // namespace

void fillDemoData(const QString &databasePath, QDate today) {
    Connection connection(databasePath);
    Query query(connection);
    Transaction transaction(connection);
    insertReferenceData(query);
    const QDate thisMonth(today.year(), today.month(), 1);
    for (int back = 3; back >= 1; --back) {
        const QDate month = thisMonth.addMonths(-back);
        insertMonth(query, monthKey(month.year(), month.month()), back);
    }
    transaction.commit();
}

} // namespace DatabaseSetup
