#pragma once

#include "computationsettings.h"

#include <QString>
#include <array>
#include <vector>

class Connection;

// How each salary item is computed, and the tax law, as the clerk has set them.

struct ItemRule {
    bool deduction = false;
    int slot = 0; // the item's rank in its kind: column f(slot) or k(slot)
    Method method = Method::ByHand;
    DatedSetting<ContributionRule> contribution;
    ContributionBase base = ContributionBase::SocialInsurance;
    bool preTax = false; // a deduction taken off the income before tax
    bool taxable = true; // an earning counted as taxable income
};

// The amounts of one salary row, by item slot.
struct SalaryAmounts {
    std::array<Currency, 20> earnings;
    std::array<Currency, 20> deductions;

    Currency &at(const ItemRule &item) {
        return (item.deduction ? deductions : earnings)[std::size_t(item.slot - 1)];
    }
    Currency at(const ItemRule &item) const {
        return (item.deduction ? deductions : earnings)[std::size_t(item.slot - 1)];
    }
};

// Whether an item of `method` is set by the computation rather than typed.
bool isComputed(Method method);

struct PayrollRules {
    std::vector<ItemRule> items; // every item, earnings then deductions, by slot
    TaxLaw law;
    BonusLaw bonusLaw;

    // Whether any item is computed; with none, everything is entered by hand as it always was.
    bool computes() const;
    const ItemRule *taxItem() const;
    const ItemRule *bonusTaxItem() const;
    // The year-end bonus items of a row, and their SQL sum over a salary row ("0" for none).
    Currency yearEndBonus(const SalaryAmounts &amounts) const;
    QString yearEndBonusSql() const;
    // "k1,k2": the columns of the computed items (`taxOnly`: of the tax items alone).
    QStringList computedColumns(bool taxOnly = false) const;
    // SQL sums over a salary row: the taxable earnings, the pre-tax deductions ("0" for none).
    QString taxableIncomeSql() const;
    QString preTaxDeductionsSql() const;
};

// Reads the items, their rules and the law from the database.
PayrollRules readPayrollRules(Connection &connection);

QString columnOf(const ItemRule &item);
