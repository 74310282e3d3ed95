#include "bankpayments.h"

#include "query.h"
#include "salarycolumns.h"

Currency BankBatch::total() const {
    Currency total;
    for (const BankPayment &payment : payable)
        total += payment.amount;
    return total;
}

QStringList savedMonths(Connection &connection) {
    Query months(connection);
    months.addLine("select distinct ny from GZB order by ny desc");
    months.open();
    QStringList found;
    for (; !months.eof(); months.next())
        found << months.field("ny").asString();
    return found;
}

BankBatch readBankBatch(Connection &connection, const QString &month) {
    Query rows(connection);
    rows.addLine("select g.ygh,g.xm,z.yhzh,z.khyh,z.zjhm,z.sjhm,");
    rows.addLine(SalaryColumns::rowTotalLines().last());
    rows.addLine("from GZB g left join YGZJ z on z.ygh=g.ygh");
    rows.addLine("where g.ny=:ny order by g.ygh");
    rows.param("ny").setText(month);
    rows.open();
    BankBatch batch;
    batch.month = month;
    for (; !rows.eof(); rows.next()) {
        const BankPayment payment{rows.field("ygh").asInteger(),
                                  rows.field("xm").asString(),
                                  rows.field("yhzh").asString().trimmed(),
                                  rows.field("khyh").asString(),
                                  rows.field("zjhm").asString(),
                                  rows.field("sjhm").asString(),
                                  rows.field(SalaryColumns::netPay).asCurrency().roundedToFen()};
        const bool hasAccount = !payment.account.isEmpty();
        const bool positive = payment.amount > Currency();
        if (!hasAccount)
            batch.withoutAccount.push_back(payment);
        if (!positive)
            batch.notPositive.push_back(payment);
        if (hasAccount && positive)
            batch.payable.push_back(payment);
    }
    return batch;
}
