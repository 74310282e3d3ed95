#include "withholding.h"

#include <algorithm>

void YearToDate::add(const MonthOfPay &month, Currency taxWithheldThatMonth) {
    taxableIncome += month.taxableIncome;
    preTaxDeductions += month.preTaxDeductions;
    specialDeductions += month.specialDeductions;
    otherDeductions += month.otherDeductions;
    basicDeductions += month.basicDeduction;
    taxRelief += month.taxRelief;
    taxWithheld += taxWithheldThatMonth;
    ++months;
}

Currency YearToDate::taxableAfterDeductions() const {
    return taxableIncome - preTaxDeductions - basicDeductions - specialDeductions - otherDeductions;
}

Currency monthTax(const YearToDate &before, const MonthOfPay &month,
                  const std::vector<TaxBracket> &brackets) {
    YearToDate through = before;
    through.add(month, Currency());
    return std::max(Currency(), cumulativeTax(through.taxableAfterDeductions(), brackets) -
                                    through.taxRelief - before.taxWithheld);
}
