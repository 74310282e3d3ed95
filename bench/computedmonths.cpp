// The paths computed items add, at scale: preparing a month whose contributions and tax are
// computed for every employee, and recomputing a year's later months after a correction.
//
// Each floor is the statements the program ran, replayed bare as in the other scenarios, plus
// the same computation done straight (see straightcomputation.h) on values read beforehand,
// untimed: the replay pays for fetching every value the program reads, so the floor's
// arithmetic works on values it did not decode itself.
#include "computationsettings.h"
#include "employeeprofile.h"
#include "entrymonth.h"
#include "flatbutton.h"
#include "gzlr.h"
#include "modulerun.h"
#include "payrollrules.h"
#include "scalebenchmark.h"
#include "straightcomputation.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <vector>

namespace {

// The percentage items a clerk sets up, as the first deductions: pension, medical and
// unemployment insurance of the social insurance base, the housing fund of its own; each
// taken before tax. The next deduction is the income tax.
struct ContributionItem {
    std::int64_t rate; // ten-thousandths of a percent
    ContributionBase base;
};
constexpr std::array contributionItems = {
    ContributionItem{80000, ContributionBase::SocialInsurance},
    ContributionItem{20000, ContributionBase::SocialInsurance},
    ContributionItem{5000, ContributionBase::SocialInsurance},
    ContributionItem{120000, ContributionBase::HousingFund},
};
constexpr int computedDeductions = int(contributionItems.size()) + 1;

// Through the item dialog's own store, one item at a time, as the clerk sets them.
void setUpComputedItems(int earnings) {
    const TaxLawFrom law = readLatestTaxLaw(DM->ADC);
    for (int slot = 1; slot <= computedDeductions; ++slot) {
        ItemMethod method;
        method.preTax = slot <= int(contributionItems.size());
        if (method.preTax) {
            const ContributionItem &item = contributionItems[std::size_t(slot - 1)];
            method.method = Method::Percentage;
            method.base = item.base;
            method.contribution.initial = {Percentage::fromUnits(item.rate),
                                           Currency::fromYuan(4000), Currency::fromYuan(20000)};
        } else {
            method.method = Method::IncomeTax;
        }
        if (!storeItemChange(DM->ADC, {earnings + slot, std::nullopt, method, law, std::nullopt}))
            throw std::runtime_error("the computed items could not be set up");
    }
}

// The month corrected: the year's first stored month, March at the earliest, so that it has
// months before it and after it.
QString correctedMonth(const Options &options) {
    const QString first = monthBack(options.size.months);
    const QString march = monthBack(1).left(4) + "03";
    return std::max(first, march);
}

} // namespace

void ScaleBenchmark::computedMonths() {
    const int earnings = (m_options.size.items + 1) / 2;
    if (m_options.size.items - earnings < computedDeductions || m_options.size.months < 3) {
        std::fprintf(stderr, "computed: needs %d deduction items and 3 months, skipped\n",
                     computedDeductions);
        return;
    }
    const qint64 employeeCount = m_options.size.employees;
    setUpComputedItems(earnings);
    // Bases from 3,000.00 to 25,000.00, so that floors and caps both come into play.
    runStraight("insert into YGJS (ygh,sbjs,gjjjs) select bh, 30000000+(bh%23)*10000000, "
                "30000000+(bh%19)*12000000 from YGZD");
    const PayrollRules rules = readPayrollRules(DM->ADC);
    // The engines' times differ by round trips the floor makes as well: one target for both.
    const auto addOnBothEngines = [&](const auto &adding) {
        adding();
        results.last().target = QStringLiteral("≤ 1.3×");
    };

    // A correction to one employee's amounts in an earlier month, saved as the entry window
    // saves it; the clerk then lets the year's later months be recomputed: the tax alone, of
    // the employees the save computed again.
    const QString corrected = correctedMonth(m_options);
    EntryMonth correction;
    correction.readRules();
    correction.activate();
    if (!correction.claim(corrected))
        throw std::runtime_error("the month is claimed elsewhere");
    correction.prepare([] {});
    const qint64 correctedEmployee = DM->AQ2.field("ygh").asInteger();
    correction.storeEmployee({{"f1", Currency::fromYuan(12345)}});
    if (!correction.save([] {}))
        throw std::runtime_error("the correction was not saved");
    // As the window leaves it after saving: the month given up, the worksheet emptied.
    correction.close();
    correction.activate();
    const QStringList later = correction.laterMonthsOfYear(corrected);
    // A month deleted and entered again is saved with everybody computed: so are the later
    // months after it.
    EntryMonth reentered;
    reentered.readRules();

    const StraightComputation straight(rules, monthBack(0), employeeCount);
    const auto recomputeFloor = [&](std::optional<qint64> only) {
        std::vector<std::vector<SalaryRow>> rows;
        for (const QString &month : later)
            rows.push_back(readSalaryRows("GZB", month, only));
        return [&, rows]() mutable { straight.recomputeTax(later, rows); };
    };
    const auto recompute = [&corrected](EntryMonth &month) {
        return [&corrected, &month = month] {
            month.recomputeLaterMonths(month.laterMonthsOfYear(corrected), [](int) {});
        };
    };
    const auto nothing = [] {};
    const QString laterSize = QStringLiteral("%1 months × %2").arg(later.size()).arg(employees());
    addOnBothEngines([&] {
        addHandler("recompute later months after a correction", laterSize + ", 1 computed",
                   "≤ 1.3×", nothing, recompute(correction), nothing,
                   recomputeFloor(correctedEmployee));
    });
    addOnBothEngines([&] {
        addHandler("recompute later months after re-entering a month", laterSize, "≤ 1.3×", nothing,
                   recompute(reentered), nothing, recomputeFloor(std::nullopt));
    });

    // The year's eleventh month, not yet stored: preparing it carries the month before and
    // computes every employee's contributions and tax on top of January to October. A stored
    // month is what was withheld and is not computed on preparing, so the month is taken out
    // of GZB first.
    const QString month = monthBack(1);
    runStraight("delete from GZB where ny='" + month + "'");
    runModule<Tfrm_gzlr>(std::function<void(Tfrm_gzlr &)>([&](Tfrm_gzlr &window) {
        const auto prepare = [&] { window.b_o->click(); };
        const auto cancel = [&] { cancelEntry(window); };
        setMonth(window.e_n, window.e_y, month);
        prepare();
        std::vector<SalaryRow> rows = readSalaryRows("temp_gzb", month);
        cancel();

        const std::map<qint64, EmployeeProfile> profiles = readProfiles(DM->ADC);
        std::vector<EmployeeBases> bases(std::size_t(employeeCount + 1));
        for (const auto &[employee, profile] : profiles)
            bases.at(std::size_t(employee)) = profile.bases.in(month);
        const auto floor = [&] { straight.computeMonth(month, bases, rows); };
        addOnBothEngines([&] {
            addHandler(
                QStringLiteral("prepare a month with tax, month %1").arg(month.mid(4).toInt()),
                employees() + " rows", "≤ 1.3×", nothing, prepare, cancel, floor);
        });
    }));

    // The scenarios after these find the items entered by hand, as the set-up made them.
    for (const char *table : {"GZXMJSBD", "GZXMJS", "YGJS"})
        runStraight(QStringLiteral("delete from %1").arg(table));
}
