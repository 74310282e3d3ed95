#pragma once

#include "bonustax.h"
#include "contribution.h"
#include "datedsetting.h"
#include "taxlaw.h"

#include <QString>
#include <map>
#include <optional>
#include <vector>

class Connection;

// The one owner of how items are computed and of the tax law as stored: every window and the
// month's computation read them, and the item dialog writes them, through these functions.

// YearEndBonus: an earning typed by hand that is the year-end one-off bonus, taxed apart;
// BonusTax: the deduction that takes that tax (without one, the income tax item does).
enum class Method { ByHand, Percentage, IncomeTax, YearEndBonus, BonusTax };
enum class ContributionBase { SocialInsurance, HousingFund };

// How one salary item is computed, as the clerk set it.
struct ItemMethod {
    Method method = Method::ByHand;
    DatedSetting<ContributionRule> contribution;
    ContributionBase base = ContributionBase::SocialInsurance;
    bool preTax = false;  // a deduction taken off the income before tax
    bool untaxed = false; // an earning not counted as taxable income
    bool operator==(const ItemMethod &) const = default;
};

// The tax law from one month on: the withholding table and the monthly deduction.
struct TaxLawFrom {
    QString month;
    Currency monthlyDeduction;
    std::vector<TaxBracket> brackets; // in rising order of limit
    bool operator==(const TaxLawFrom &) const = default;
};

// What the item dialog stores, and what it showed before: a change that another clerk made to
// the item's method, or to the law it replaces, since it was read refuses the store.
struct ItemChange {
    qint64 item = 0;
    std::optional<ItemMethod> methodAsRead; // none: the item had no method
    ItemMethod method;
    TaxLawFrom lawAsRead;
    std::optional<TaxLawFrom> law; // with the income tax: the law from its month
};

// The methods of the items that have one (all, or only `item`), by item number; an item
// without one is entered by hand.
std::map<qint64, ItemMethod> readItemMethods(Connection &connection,
                                             std::optional<qint64> item = std::nullopt);
// Whether an item other than `item` is computed by `method` (the income tax, the bonus's tax):
// only one item may be.
bool anotherItemComputes(Connection &connection, qint64 item, Method method);

TaxLaw readTaxLaw(Connection &connection);
BonusLaw readBonusLaw(Connection &connection);
// The law from the latest month that has a withholding table, with the monthly deduction in
// force then: what the clerk keeps current.
TaxLawFrom readLatestTaxLaw(Connection &connection);

// Replaces the item's method, and with a law the law from its month (what was set from that
// same month before), all in one transaction; false, and nothing stored, when what the change
// replaces is no longer what was read.
bool storeItemChange(Connection &connection, const ItemChange &change);
