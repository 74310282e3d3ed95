#pragma once

#include "currency.h"
#include "taxlaw.h"

// Cumulative withholding: each month the tax on the year's income so far, less what the
// year's earlier months withheld; nothing is refunded during the year.

// One month's figures of one employee.
struct MonthOfPay {
    Currency taxableIncome;    // the taxable earning items
    Currency preTaxDeductions; // insurance and housing fund items marked pre-tax
    Currency specialDeductions;
    Currency otherDeductions;
    Currency basicDeduction; // the monthly deduction in force that month
    Currency taxRelief{};    // 减免税额
};

// An employee's year up to (not including) the month being computed: the months with salary
// rows in it, and any opening figures for the part of the year before the program was used.
struct YearToDate {
    Currency taxableIncome;
    Currency preTaxDeductions;
    Currency specialDeductions;
    Currency otherDeductions;
    Currency basicDeductions;
    Currency taxRelief;
    Currency taxWithheld;
    int months = 0;
    bool bonusTaxedApart = false; // a year-end bonus was taxed apart: the law allows it once

    void add(const MonthOfPay &month, Currency taxWithheldThatMonth);
    // The year's income less everything taken from it before tax: what the table taxes.
    Currency taxableAfterDeductions() const;
    bool operator==(const YearToDate &) const = default;
};

// The tax to withhold in `month` after the year so far: the year's tax less its relief and
// what was withheld.
Currency monthTax(const YearToDate &before, const MonthOfPay &month,
                  const std::vector<TaxBracket> &brackets);
