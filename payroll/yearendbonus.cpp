#include "yearendbonus.h"

BonusInMonth bonusInMonth(const PayrollRules &rules, const EmployeeProfile &profile,
                          const YearToDate &before, const QString &month, Currency bonus) {
    // Most months of most employees hold no bonus: the law's table is looked up for the others.
    if (bonus <= Currency() || before.bonusTaxedApart)
        return {};
    const std::vector<TaxBracket> brackets = rules.bonusLaw.bracketsFor(month);
    if (brackets.empty() || switchesIn(profile.years, month).bonusWithPay)
        return {};
    return {bonus, bonusTax(bonus, brackets)};
}

MonthOfPay withheldPay(const EmployeeProfile &profile, const YearToDate &before,
                       const QString &month, MonthOfPay pay, const BonusInMonth &bonus) {
    pay.taxableIncome = pay.taxableIncome - bonus.apart;
    pay.taxRelief = reliefIn(profile.taxRelief, month);
    pay.basicDeduction =
        basicDeductionIn(switchesIn(profile.years, month), before, month, pay.basicDeduction);
    return pay;
}
