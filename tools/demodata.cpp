#include "demodata.h"

#include "connection.h"
#include "currency.h"
#include "identitydocument.h"
#include "monthcomputation.h"
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
    Employee{"林晓梅", "女", "1982- 5-20", "2004- 8- 2", 2, "财务总监", 30000, true},
};

// 林晓梅 carries the tax administration's published example: 30,000.00 pay and nothing else,
// a base above the cap of every contribution (4,500.00 in all), 2,000.00 special deductions.
constexpr std::size_t publishedExample = 13;

struct Deduction {
    std::size_t employee; // index in `employees`
    const char *kind;
    int yuan;
};

const std::array specialDeductions = {
    Deduction{publishedExample, "子女教育", 2000},
    Deduction{4, "赡养老人", 3000},
    Deduction{5, "住房租金", 1500},
    Deduction{8, "住房贷款利息", 1000},
    Deduction{8, "子女教育", 2000},
};

struct Item {
    const char *name;
    bool carried;
    const char *kind;   // "0" earning, "1" deduction
    const char *method; // GZXMJS.jsfs: "0" by hand, "1" percentage, "2" income tax,
                        // "3" the year-end one-off bonus
    int rate;           // ten-thousandths of a percent
    const char *base;   // "1" social insurance, "2" housing fund
    bool preTax;        // a deduction taken off the income before tax
};

// An item's amount column is its rank within its kind, in the order of this list. The
// contributions are taken before tax, from a base between 4,000.00 and 20,000.00; pay docked
// for leave is income never paid, so it is taken before tax too. The year-end bonus came
// later than the rest and is the fifth earning.
const std::array items = {
    Item{"基本工资", true, "0", "0", 0, "1", false},
    Item{"岗位津贴", true, "0", "0", 0, "1", false},
    Item{"加班费", false, "0", "0", 0, "1", false},
    Item{"绩效奖金", false, "0", "0", 0, "1", false},
    Item{"养老保险", true, "1", "1", 80000, "1", true},
    Item{"医疗保险", true, "1", "1", 20000, "1", true},
    Item{"失业保险", true, "1", "1", 5000, "1", true},
    Item{"住房公积金", true, "1", "1", 120000, "2", true},
    Item{"个人所得税", false, "1", "2", 0, "1", false},
    Item{"事假扣款", false, "1", "0", 0, "1", true},
    Item{"年终奖", false, "0", "3", 0, "1", false},
};

// 张建国's year-end bonus, paid with December's salary.
constexpr std::size_t bonusEmployee = 0;
constexpr int yearEndBonus = 24000;
constexpr int contributionFloor = 4000;
constexpr int contributionCap = 20000;

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
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Item &item = items[i];
        if (QLatin1String(item.method) == QLatin1String("0") && !item.preTax)
            continue;
        run(query, {QStringLiteral("insert into GZXMJS (xmbh,jsfs,bl,jsjs,xx,sx,sqkc)"),
                    QStringLiteral("values (:xmbh,:jsfs,:bl,:jsjs,:xx,:sx,:sqkc)")});
        const bool contribution = QLatin1String(item.method) == QLatin1String("1");
        query.param(QStringLiteral("xmbh")).setInteger(qint64(i) + 1);
        query.param(QStringLiteral("jsfs")).setText(QString::fromLatin1(item.method));
        query.param(QStringLiteral("bl")).setInteger(item.rate);
        query.param(QStringLiteral("jsjs")).setText(QString::fromLatin1(item.base));
        query.param(QStringLiteral("xx"))
            .setCurrency(Currency::fromYuan(contribution ? contributionFloor : 0));
        query.param(QStringLiteral("sx"))
            .setCurrency(Currency::fromYuan(contribution ? contributionCap : 0));
        query.param(QStringLiteral("sqkc")).setBoolean(item.preTax);
        query.execSql();
    }
}

// Made-up identity numbers that agree with each employee's birth date and sex (a Shenzhen or
// Beijing district code, an odd sequence for men), and accounts at a few banks.
void insertIdentities(Query &query) {
    const std::array districts = {"440305", "110105", "440304", "110108"};
    const std::array banks = {"中国工商银行深圳科技园支行", "中国建设银行北京朝阳支行",
                              "招商银行深圳福田支行"};
    for (std::size_t i = 0; i < employees.size(); ++i) {
        const Employee &e = employees[i];
        QString born = QString::fromUtf8(e.born);
        born.replace(u' ', u'0').remove(u'-');
        const bool man = QString::fromUtf8(e.sex) == QStringLiteral("男");
        const QString digits = QString::fromLatin1(districts[i % districts.size()]) + born +
                               QStringLiteral("%1").arg(2 * int(i) + 100 + (man ? 1 : 0), 3);
        run(query, {QStringLiteral("insert into YGZJ (ygh,zjlx,zjhm,gj,khyh,yhzh,sjhm)"),
                    QStringLiteral("values (:ygh,:zjlx,:zjhm,:gj,:khyh,:yhzh,:sjhm)")});
        query.param(QStringLiteral("ygh")).setInteger(qint64(i) + 1);
        query.param(QStringLiteral("zjlx")).setText(residentIdentityCard());
        query.param(QStringLiteral("zjhm")).setText(digits + residentCardCheckCharacter(digits));
        query.param(QStringLiteral("gj")).setText(QStringLiteral("中国"));
        query.param(QStringLiteral("khyh")).setText(QString::fromUtf8(banks[i % banks.size()]));
        query.param(QStringLiteral("yhzh"))
            .setText(
                QStringLiteral("62220210%1").arg(qint64(i) * 7919 + 30571, 11, 10, QChar(u'0')));
        query.param(QStringLiteral("sjhm"))
            .setText(QStringLiteral("139%1").arg(qint64(i) * 104729 + 20261, 8, 10, QChar(u'0')));
        query.execSql();
    }
}

// Bases follow pay with its allowance, in whole hundreds; the example's is her pay.
void insertProfiles(Query &query, const QString &firstMonth) {
    for (std::size_t i = 0; i < employees.size(); ++i) {
        const Employee &e = employees[i];
        const int base = i == publishedExample ? e.baseSalary : e.baseSalary * 115 / 10000 * 100;
        run(query,
            {QStringLiteral("insert into YGJS (ygh,sbjs,gjjjs) values (:ygh,:sbjs,:gjjjs)")});
        query.param(QStringLiteral("ygh")).setInteger(qint64(i) + 1);
        query.param(QStringLiteral("sbjs")).setCurrency(Currency::fromYuan(base));
        query.param(QStringLiteral("gjjjs")).setCurrency(Currency::fromYuan(base));
        query.execSql();
    }
    for (const Deduction &d : specialDeductions) {
        run(query,
            {QStringLiteral("insert into YGZXKC (ygh,lb,je,qsny) values (:ygh,:lb,:je,:qsny)")});
        query.param(QStringLiteral("ygh")).setInteger(qint64(d.employee) + 1);
        query.param(QStringLiteral("lb")).setText(QString::fromUtf8(d.kind));
        query.param(QStringLiteral("je")).setCurrency(Currency::fromYuan(d.yuan));
        query.param(QStringLiteral("qsny")).setText(firstMonth);
        query.execSql();
    }
}

// A month's amounts for one employee, varied but repeatable, rounded to the fen.
// Contributions and tax are left to the payroll rules.
struct Pay {
    Currency base, allowance, overtime, bonus, leave, yearEndBonus;
};

Currency yuan(double amount) {
    return Currency::fromDouble(amount).roundedToFen();
}

Pay payFor(const Employee &e, int employeeIndex, int monthIndex, bool december) {
    Pay pay;
    pay.base = yuan(e.baseSalary);
    if (december && std::size_t(employeeIndex) == bonusEmployee)
        pay.yearEndBonus = yuan(yearEndBonus);
    if (std::size_t(employeeIndex) == publishedExample)
        return pay;
    const int spread = (employeeIndex * 7 + monthIndex * 3) % 10;
    pay.allowance = yuan(e.baseSalary * 0.15);
    pay.overtime = yuan(spread < 4 ? spread * 85.5 : 0);
    pay.bonus = yuan(300 + spread * 47.3);
    pay.leave = yuan(spread == 9 ? e.baseSalary / 21.75 : 0);
    return pay;
}

void insertMonth(Query &query, const QString &key, int monthIndex) {
    for (std::size_t i = 0; i < employees.size(); ++i) {
        const Employee &e = employees[i];
        if (!e.active)
            continue;
        const Pay pay = payFor(e, int(i), monthIndex, key.endsWith(QLatin1String("12")));
        run(query, {QStringLiteral("insert into GZB (ny,ygh,xm,xb,csrq,gzrq,bmmc,zw,zt,"),
                    QStringLiteral("f1,f2,f3,f4,f5,k6)"),
                    QStringLiteral("values (:ny,:ygh,:xm,:xb,:csrq,:gzrq,:bmmc,:zw,'1',"),
                    QStringLiteral(":f1,:f2,:f3,:f4,:f5,:k6)")});
        query.param(QStringLiteral("ny")).setText(key);
        query.param(QStringLiteral("ygh")).setInteger(qint64(i) + 1);
        query.param(QStringLiteral("xm")).setText(QString::fromUtf8(e.name));
        query.param(QStringLiteral("xb")).setText(QString::fromUtf8(e.sex));
        query.param(QStringLiteral("csrq")).setText(QString::fromUtf8(e.born));
        query.param(QStringLiteral("gzrq")).setText(QString::fromUtf8(e.started));
        query.param(QStringLiteral("bmmc"))
            .setText(QString::fromUtf8(departments[std::size_t(e.department - 1)]));
        query.param(QStringLiteral("zw")).setText(QString::fromUtf8(e.position));
        const std::array amounts = {
            std::pair{"f1", pay.base},         std::pair{"f2", pay.allowance},
            std::pair{"f3", pay.overtime},     std::pair{"f4", pay.bonus},
            std::pair{"f5", pay.yearEndBonus}, std::pair{"k6", pay.leave}};
        for (const auto &[column, amount] : amounts)
            query.param(QString::fromLatin1(column)).setCurrency(amount);
        query.execSql();
    }
}

} // namespace

void fillDemoData(Connection &connection, QDate today) {
    Query query(connection);
    Transaction transaction(connection);
    insertReferenceData(query);
    insertIdentities(query);
    // From January of last month's year through last month, each month's contributions and
    // tax computed by the payroll rules after the months before it.
    const QDate lastMonth = QDate(today.year(), today.month(), 1).addMonths(-1);
    insertProfiles(query, monthKey(lastMonth.year(), 1));
    const PayrollRules rules = readPayrollRules(connection);
    for (int month = 1; month <= lastMonth.month(); ++month) {
        const QString key = monthKey(lastMonth.year(), month);
        insertMonth(query, key, lastMonth.month() - month + 1);
        computeMonth(connection, rules, QStringLiteral("GZB"), key);
    }
    transaction.commit();
}

} // namespace DatabaseSetup
