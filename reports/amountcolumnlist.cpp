#include "amountcolumnlist.h"

#include "data.h"
#include "dbgrid.h"
#include "salarycolumns.h"
#include "sqllines.h"

QList<AmountColumn> buildAmountColumns() {
    Query &items = setSql(DM->AQ2, {"select * from GZXMZD order by s_fk,bh"});
    items.open();

    // Each kind is ranked on its own, so an item of an unexpected kind can never shift the
    // slots of the others: every kind other than earning counts as deduction.
    QList<AmountColumn> earnings;
    QList<AmountColumn> deductions;
    for (items.first(); !items.eof(); items.next()) {
        const bool earning =
            items.field(QStringLiteral("S_FK")).asString() == SalaryColumns::earning;
        QList<AmountColumn> &kind = earning ? earnings : deductions;
        kind << AmountColumn{
            items.field(QStringLiteral("mc")).asString(),
            SalaryColumns::itemColumn(earning ? SalaryColumns::earning : SalaryColumns::deduction,
                                      int(kind.size()) + 1)};
    }
    return earnings + QList<AmountColumn>{{"应付合计", SalaryColumns::earningsTotal}} + deductions +
           QList<AmountColumn>{{"扣款合计", SalaryColumns::deductionsTotal},
                               {"实发工资", SalaryColumns::netPay}};
}

void addAmountGridColumns(DBGrid &grid, const QList<AmountColumn> &columns) {
    QList<GridColumn> all = grid.columns();
    for (const AmountColumn &column : columns)
        all << GridColumn{column.field, column.caption, 50, Qt::AlignRight};
    grid.setColumns(all);
}
