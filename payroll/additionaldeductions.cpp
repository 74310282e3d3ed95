#include "additionaldeductions.h"

#include "monthkey.h"

#include <algorithm>

namespace {

const QString children = QStringLiteral("子女教育");
const QString infants = QStringLiteral("3岁以下婴幼儿照护");
const QString elders = QStringLiteral("赡养老人");
const QString education = QStringLiteral("继续教育");
const QString loan = QStringLiteral("住房贷款利息");
const QString rent = QStringLiteral("住房租金");
const QString pension = QStringLiteral("个人养老金");

Currency yuan(int amount) {
    return Currency::fromYuan(amount);
}

// A month not after `through` (empty: no end).
bool notAfter(const QString &month, const QString &through) {
    return through.isEmpty() || month <= through;
}

bool overlap(const SpecialDeduction &a, const SpecialDeduction &b) {
    return notAfter(a.fromMonth, b.throughMonth) && notAfter(b.fromMonth, a.throughMonth);
}

bool runsIn(const SpecialDeduction &deduction, const QString &month) {
    return deduction.fromMonth <= month && notAfter(month, deduction.throughMonth);
}

// The certificate year's lump of continuing education: 3,600 in one month.
bool certificateLump(const SpecialDeduction &deduction) {
    return deduction.kind == education && deduction.monthly == yuan(3600) &&
           deduction.throughMonth == deduction.fromMonth;
}

// The total of `kind` in `month` over all lines, the certificate's lump aside.
Currency totalIn(const std::vector<SpecialDeduction> &deductions, const QString &kind,
                 const QString &month) {
    Currency total;
    for (const SpecialDeduction &deduction : deductions)
        if (deduction.kind == kind && runsIn(deduction, month) && !certificateLump(deduction))
            total += deduction.monthly;
    return total;
}

// The total of `kind` over the twelve months of `year`.
Currency yearTotal(const std::vector<SpecialDeduction> &deductions, const QString &kind, int year) {
    Currency total;
    for (int month = 1; month <= 12; ++month)
        total += totalIn(deductions, kind, monthKey(year, month));
    return total;
}

QString perLineFault(const SpecialDeduction &d) {
    if (d.kind == children || d.kind == infants)
        return d.monthly > yuan(2000) ? d.kind + "每个子女每月最多2000.00元；另一个子女请另起一行，"
                                                 "从其开始的月份填起！"
                                      : QString();
    if (d.kind == elders)
        return d.monthly > yuan(3000) || (d.monthly > yuan(1500) && d.monthly != yuan(3000))
                   ? "赡养老人每月：独生子女3000.00元，非独生子女分摊每人最多1500.00元！"
                   : QString();
    if (d.kind == loan)
        return d.monthly > yuan(1000) ? "住房贷款利息每月最多1000.00元！" : QString();
    if (d.kind == rent) {
        const std::vector<Currency> allowed = standardAmounts(rent);
        return std::find(allowed.begin(), allowed.end(), d.monthly) == allowed.end()
                   ? "住房租金每月按所在城市为1500.00元、1100.00元或800.00元！"
                   : QString();
    }
    if (d.kind == education)
        return d.monthly > yuan(400) && !certificateLump(d)
                   ? "继续教育：学历教育每月最多400.00元；职业资格证书在取得当年的一个月"
                     "扣除3600.00元（起始与终止为同一月份）！"
                   : QString();
    return QString();
}

} // namespace

std::vector<Currency> standardAmounts(const QString &kind) {
    if (kind == children || kind == infants)
        return {yuan(2000)};
    if (kind == elders)
        return {yuan(3000), yuan(1500)};
    if (kind == loan)
        return {yuan(1000)};
    if (kind == rent)
        return {yuan(1500), yuan(1100), yuan(800)};
    if (kind == education)
        return {yuan(400), yuan(3600)};
    if (kind == pension)
        return {yuan(1000)};
    return {};
}

QString standardText(const QString &kind) {
    if (kind == children || kind == infants)
        return "每个子女每月2000.00元，每个子女一行";
    if (kind == elders)
        return "独生子女每月3000.00元；非独生子女分摊，每人每月最多1500.00元";
    if (kind == loan)
        return "每月1000.00元，不与住房租金同时扣除";
    if (kind == rent)
        return "按城市每月1500.00元、1100.00元或800.00元，不与住房贷款利息同时扣除";
    if (kind == education)
        return "学历教育每月400.00元；职业资格证书取得当年一次3600.00元（起止同一月份）";
    if (kind == pension)
        return "每年最多12000.00元";
    return QString();
}

QString specialDeductionFault(const std::vector<SpecialDeduction> &deductions) {
    for (const SpecialDeduction &deduction : deductions)
        if (const QString fault = perLineFault(deduction); !fault.isEmpty())
            return fault;
    // Several lines of one kind may overlap (two parents' shares never, two children always):
    // the most the kind takes in a month is reached in a month some line starts.
    for (const SpecialDeduction &deduction : deductions) {
        const QString &month = deduction.fromMonth;
        if (totalIn(deductions, elders, month) > yuan(3000))
            return "赡养老人合计每月最多3000.00元！";
        if (totalIn(deductions, loan, month) > yuan(1000))
            return "住房贷款利息合计每月最多1000.00元！";
        if (totalIn(deductions, rent, month) > yuan(1500))
            return "住房租金合计每月最多1500.00元！";
        if (totalIn(deductions, education, month) > yuan(400))
            return "继续教育（学历教育）合计每月最多400.00元！";
    }
    for (const SpecialDeduction &a : deductions)
        for (const SpecialDeduction &b : deductions) {
            if (a.kind == loan && b.kind == rent && overlap(a, b))
                return "住房贷款利息和住房租金不能在同一月份扣除！";
            if (certificateLump(a) && certificateLump(b) && &a != &b &&
                a.fromMonth.left(4) == b.fromMonth.left(4))
                return "继续教育的职业资格证书一年只能扣除一次3600.00元！";
        }
    // A line without an end runs through the whole of the year after its start.
    for (const SpecialDeduction &line : deductions) {
        if (line.kind != pension)
            continue;
        const int first = line.fromMonth.left(4).toInt();
        const int last =
            line.throughMonth.isEmpty() ? first + 1 : line.throughMonth.left(4).toInt();
        for (int year = first; year <= last; ++year)
            if (const Currency total = yearTotal(deductions, pension, year); total > yuan(12000))
                return QStringLiteral("个人养老金每年最多12000.00元，%1年合计%2元！")
                    .arg(year)
                    .arg(total.toFixed2());
    }
    return QString();
}
