#include "worksheet.h"

#include "data.h"
#include "dberror.h"
#include "monthkey.h"
#include "salarycolumns.h"
#include "sqllines.h"

namespace Worksheet {
namespace {

// The active employees with their department's name, by number; `condition` narrows them.
void openActiveEmployees(const QString &condition) {
    setSql(DM->AQ1, {"select a.*,b.mc as bmmc from YGZD as a,BMZD as b where a.bmh=b.bh", condition,
                     "order by a.bh"})
        .open();
}

// One new worksheet row, amounts at their default 0, for each employee AQ1 holds. The
// statement is the same for every row: it is built once and only its values change.
void insertEmployees(const QString &month) {
    static const QStringList copiedColumns = {"xm", "xb", "csrq", "gzrq", "bmmc", "zw", "zt"};
    Query &insert = setSql(DM->AQUP, {"insert into temp_gzb (ny,ygh,xm,xb,csrq,gzrq,bmmc,zw,zt) "
                                      "values (:ny,:ygh,:xm,:xb,:csrq,:gzrq,:bmmc,:zw,:zt)"});
    insert.param("ny").setText(month);
    Query &employees = DM->AQ1;
    for (; !employees.eof(); employees.next()) {
        insert.param("ygh").setInteger(employees.field("bh").asInteger());
        for (const QString &column : copiedColumns)
            insert.param(column).setText(employees.field(column).asString());
        insert.execSql();
    }
}

// ",f3=0,k1=0": the columns of the items of `kind` whose amounts do not carry over.
QString resetList(const QString &kind) {
    Query &items =
        setSql(DM->AQ1, {"select * from GZXMZD where S_FK='" + kind + "' order by S_FK,bh "});
    items.open();
    QString resets;
    for (int slot = 1; !items.eof(); items.next(), ++slot)
        if (!items.field("S_JC").asBoolean())
            resets += "," + SalaryColumns::itemColumn(kind, slot) + "=0";
    return resets;
}

// Every column of a salary row, named: a copy between GZB and the worksheet never depends on
// the order a file happens to declare them in.
QString rowColumns() {
    static const QString columns = [] {
        QStringList names = {"ny", "ygh", "xm", "xb", "csrq", "gzrq", "bmmc", "zw", "zt"};
        for (const QString &kind : {SalaryColumns::earning, SalaryColumns::deduction})
            for (int slot = 1; slot <= SalaryColumns::itemsPerKind; ++slot)
                names << SalaryColumns::itemColumn(kind, slot);
        return names.join(QChar(','));
    }();
    return columns;
}

void requireKeptMonth(const QString &month) {
    if (!isMonthKeyInRange(month))
        throw DbError(QStringLiteral("Month %1 lies outside 200501 to 210012").arg(month));
}

bool hasRows(const QString &table, const QString &month) {
    Query &rows = setSql(DM->AQ1, {"select count(*) as n from " + table + " where ny=:ny"});
    rows.param("ny").setText(month);
    rows.open();
    return rows.field("n").asInteger() > 0;
}

void copyMonth(const QString &rowsOfGzb, const QString &month) {
    Query &copy = setSql(DM->AQ1, {"insert into temp_gzb (" + rowColumns() + ")",
                                   "select " + rowColumns() + " from GZB " + rowsOfGzb});
    copy.param("ny").setText(month);
    copy.execSql();
}

} // namespace

void empty() {
    setSql(DM->AQ1, {"delete * from Temp_GZB"}).execSql();
}

void fill(MonthStatus status, const QString &month, const QString &lastMonth) {
    requireKeptMonth(month);
    if (status == MonthStatus::FirstUse) {
        openActiveEmployees(" and zt='1' ");
        insertEmployees(month);
    } else if (status == MonthStatus::Entered) {
        copyMonth("where ny=:ny ", month);
    } else if (status == MonthStatus::Carried) {
        copyMonth("where ny=:ny and ygh in (select bh from ygzd where zt='1' )", lastMonth);
        const QString resets =
            resetList(SalaryColumns::earning) + resetList(SalaryColumns::deduction);
        setSql(DM->AQ1, {"update temp_gzb set ny='" + month + "'" + resets}).execSql();
        openActiveEmployees(" and zt='1'  and  a.bh not in (select ygh from temp_gzb)");
        insertEmployees(month);
    }
}

bool store(MonthStatus status, const QString &month) {
    requireKeptMonth(month);
    if (!hasRows("temp_gzb", month) && hasRows("GZB", month))
        return false;
    if (status == MonthStatus::Entered)
        remove(month);
    setSql(DM->AQ1,
           {"insert into gzb (" + rowColumns() + ")", "select " + rowColumns() + " from temp_gzb"})
        .execSql();
    return true;
}

void remove(const QString &month) {
    requireKeptMonth(month);
    Query &remove = setSql(DM->AQ1, {"delete from GZB where ny=:ny "});
    remove.param("ny").setText(month);
    remove.execSql();
}

} // namespace Worksheet
