#include "computationnote.h"

#include "monthcomputation.h"
#include "yearendbonus.h"

namespace {

QString money(Currency amount) {
    return amount.toFixed2();
}

QString contributionNote(const EmployeeProfile &profile, const ItemRule &item, const QString &month,
                         Currency amount) {
    const bool housing = item.base == ContributionBase::HousingFund;
    const EmployeeBases &bases = profile.bases.in(month);
    const Currency base = housing ? bases.housingFund : bases.socialInsurance;
    const ContributionRule &rule = item.contribution.in(month);
    QString note = (housing ? "公积金基数 " : "社保基数 ") + money(base);
    if (rule.floor && base < *rule.floor)
        note += "，按下限 " + money(*rule.floor);
    else if (rule.cap && base > *rule.cap)
        note += "，按上限 " + money(*rule.cap);
    return note + " × " + rule.rate.toText() + "% = " + money(amount);
}

QString cumulativeNote(const YearToDate &before, const MonthOfPay &pay,
                       const std::vector<TaxBracket> &brackets) {
    YearToDate through = before;
    through.add(pay, Currency());
    const Currency taxable = through.taxableAfterDeductions();
    const Currency due = cumulativeTax(taxable, brackets);
    return "累计预扣：本年收入 " + money(through.taxableIncome) + " − 税前扣除 " +
           money(through.preTaxDeductions) + " − 减除费用 " + money(through.basicDeductions) +
           " − 专项附加扣除 " + money(through.specialDeductions) + " − 其他扣除 " +
           money(through.otherDeductions) + " = 应纳税所得额 " + money(taxable) + "；应纳税额 " +
           money(due) +
           (through.taxRelief == Currency() ? QString()
                                            : " − 减免税额 " + money(through.taxRelief)) +
           " − 已预扣 " + money(before.taxWithheld) + " = " +
           money(monthTax(before, pay, brackets));
}

QString bonusNote(const PayrollRules &rules, const EmployeeProfile &profile,
                  const YearToDate &before, const QString &month, const MonthOfPay &pay,
                  Currency bonus) {
    const std::vector<TaxBracket> brackets = rules.law.bracketsFor(month);
    const BonusInMonth apart = bonusInMonth(rules, profile, before, month, bonus);
    const Currency together =
        monthTax(before, withheldPay(profile, before, month, pay, {}), brackets);
    if (apart.apart == Currency())
        return "全年一次性奖金 " + money(bonus) +
               (switchesIn(profile.years, month).bonusWithPay ? "：本年选择并入本月工资计税"
                : before.bonusTaxedApart ? "：本年已单独计税一次，并入本月工资计税"
                                         : "：本月不适用单独计税，并入本月工资计税") +
               "；若单独计税 " + money(bonusTax(bonus, rules.bonusLaw.bracketsFor(month)));
    const Currency separately =
        monthTax(before, withheldPay(profile, before, month, pay, apart), brackets) + apart.tax;
    QString note = "全年一次性奖金 " + money(bonus) + " 单独计税 " + money(apart.tax) +
                   "，本月合计 " + money(separately) + "；并入本月工资计税 " + money(together) +
                   (together < separately ? "，并入较低" : "，单独计税较低");
    if (const std::optional<Currency> edge =
            bonusEdgeBelow(bonus, rules.bonusLaw.bracketsFor(month)))
        note += "。注意：奖金刚超过 " + money(*edge) + " 元的临界点，税后反而少于发放 " +
                money(*edge) + " 元";
    return note;
}

} // namespace

QString computationNote(const PayrollRules &rules, const EmployeeProfile &profile,
                        const YearToDate &before, const QString &month,
                        const SalaryAmounts &amounts, const ItemRule &item) {
    if (item.method == Method::Percentage)
        return "按比例：" + contributionNote(profile, item, month, amounts.at(item));
    const Currency bonus = rules.yearEndBonus(amounts);
    const MonthOfPay pay = monthOfPay(rules, profile, amounts, month);
    QStringList lines;
    if (item.method == Method::IncomeTax)
        lines << cumulativeNote(before,
                                withheldPay(profile, before, month, pay,
                                            bonusInMonth(rules, profile, before, month, bonus)),
                                rules.law.bracketsFor(month));
    if (bonus > Currency() && (item.method == Method::BonusTax || !rules.bonusTaxItem()))
        lines << bonusNote(rules, profile, before, month, pay, bonus);
    return lines.join('\n');
}
