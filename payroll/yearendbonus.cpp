#include "yearendbonus.h"

BonusInMonth bonusInMonth(const PayrollRules &rules, const YearToDate &before, const QString &month,
                          Currency bonus) {
    const std::vector<TaxBracket> brackets = rules.bonusLaw.bracketsFor(month);
    if (bonus <= Currency() || brackets.empty() || before.bonusTaxedApart)
        return {};
    return {bonus, bonusTax(bonus, brackets)};
}
