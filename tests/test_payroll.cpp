// The payroll rules on their own, as tables: contributions of a clamped base, the withholding
// table's lines and their edges, and the cumulative withholding month by month.
#include "additionaldeductions.h"
#include "bonustax.h"
#include "contribution.h"
#include "currencyprint.h"
#include "datedsetting.h"
#include "percentage.h"
#include "taxlaw.h"
#include "withholding.h"
#include "yearswitches.h"

#include <QTest>

namespace {

Currency yuan(const char *text) {
    return Currency::fromText(QString::fromLatin1(text)).value();
}

Percentage percent(const char *text) {
    return Percentage::fromText(QString::fromLatin1(text)).value();
}

// The table in force since January 2019, and the one a law change might bring.
TaxLaw law() {
    TaxLaw law;
    const struct {
        const char *upTo, *rate, *quick;
    } lines[] = {{"36000", "3", "0"},       {"144000", "10", "2520"},  {"300000", "20", "16920"},
                 {"420000", "25", "31920"}, {"660000", "30", "52920"}, {"960000", "35", "85920"},
                 {nullptr, "45", "181920"}};
    for (const auto &line : lines)
        law.brackets.push_back({"201901",
                                {line.upTo ? std::optional(yuan(line.upTo)) : std::nullopt,
                                 percent(line.rate), yuan(line.quick)}});
    law.monthlyDeductions.push_back({"201901", yuan("5000")});
    return law;
}

MonthOfPay publishedMonth() {
    return {yuan("30000"), yuan("4500"), yuan("2000"), Currency(), yuan("5000")};
}

} // namespace

class TestPayroll : public QObject {
    Q_OBJECT
private slots:
    void rateText_data();
    void rateText();
    void contributionOfClampedBase_data();
    void contributionOfClampedBase();
    void taxOnCumulativeIncome_data();
    void taxOnCumulativeIncome();
    void lawInForceByMonth();
    void settingInForceByMonth_data();
    void settingInForceByMonth();
    void publishedYear();
    void payDropRefundsNothing();
    void openingFiguresCount();
    void specialDeductionsWithinTheLaw_data();
    void specialDeductionsWithinTheLaw();
    void yearEndBonusTaxedApart_data();
    void yearEndBonusTaxedApart();
    void bonusJustOverAnEdge_data();
    void bonusJustOverAnEdge();
    void basicDeductionByTheYearsChoice_data();
    void basicDeductionByTheYearsChoice();
    void reliefLowersTheYearsTax_data();
    void reliefLowersTheYearsTax();
};

void TestPayroll::rateText_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<qint64>("units"); // -1: refused
    QTest::newRow("whole") << "8" << qint64(80000);
    QTest::newRow("half") << "0.5" << qint64(5000);
    QTest::newRow("four decimals") << "12.3456" << qint64(123456);
    QTest::newRow("blanks around") << " 2 " << qint64(20000);
    QTest::newRow("five decimals") << "1.23456" << qint64(-1);
    QTest::newRow("negative") << "-1" << qint64(-1);
    QTest::newRow("percent sign") << "8%" << qint64(-1);
    QTest::newRow("empty") << "" << qint64(-1);
}

void TestPayroll::rateText() {
    QFETCH(QString, typed);
    QFETCH(qint64, units);
    const std::optional<Percentage> read = Percentage::fromText(typed);
    QCOMPARE(read.has_value(), units >= 0);
    if (read)
        QCOMPARE(read->units(), units);
}

void TestPayroll::contributionOfClampedBase_data() {
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("floor");
    QTest::addColumn<QString>("cap");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("expected");
    QTest::newRow("within") << "8"
                            << "4000"
                            << "20000"
                            << "12345.67"
                            << "987.65";
    QTest::newRow("capped") << "8"
                            << "4000"
                            << "20000"
                            << "30000"
                            << "1600.00";
    QTest::newRow("raised to floor") << "2"
                                     << "4000"
                                     << "20000"
                                     << "1000"
                                     << "80.00";
    QTest::newRow("no limits") << "12"
                               << ""
                               << ""
                               << "30000"
                               << "3600.00";
    QTest::newRow("four-decimal rate") << "0.1234"
                                       << ""
                                       << ""
                                       << "10000"
                                       << "12.34";
    QTest::newRow("at half a fen") << "0.5"
                                   << ""
                                   << ""
                                   << "101"
                                   << "0.51";
    QTest::newRow("below half a fen") << "0.5"
                                      << ""
                                      << ""
                                      << "100.99"
                                      << "0.50";
}

void TestPayroll::contributionOfClampedBase() {
    QFETCH(QString, rate);
    QFETCH(QString, floor);
    QFETCH(QString, cap);
    QFETCH(QString, base);
    QFETCH(QString, expected);
    const auto amount = [](const QString &text) -> std::optional<Currency> {
        return text.isEmpty() ? std::nullopt : Currency::fromText(text);
    };
    const ContributionRule rule{Percentage::fromText(rate).value(), amount(floor), amount(cap)};
    QCOMPARE(contribution(rule, *amount(base)).toFixed2(), expected);
}

void TestPayroll::taxOnCumulativeIncome_data() {
    QTest::addColumn<QString>("income");
    QTest::addColumn<QString>("tax");
    QTest::newRow("negative") << "-100"
                              << "0.00";
    QTest::newRow("zero") << "0"
                          << "0.00";
    QTest::newRow("first line") << "18500"
                                << "555.00";
    QTest::newRow("first line's top") << "36000"
                                      << "1080.00";
    QTest::newRow("a fen above") << "36000.01"
                                 << "1080.00";
    QTest::newRow("second line") << "37000"
                                 << "1180.00";
    QTest::newRow("second line's top") << "144000"
                                       << "11880.00";
    QTest::newRow("third line") << "144000.01"
                                << "11880.00";
    QTest::newRow("fourth line's top") << "420000"
                                       << "73080.00";
    QTest::newRow("top line") << "1000000"
                              << "268080.00";
    QTest::newRow("rounded to the fen") << "100.17"
                                        << "3.01";
}

void TestPayroll::taxOnCumulativeIncome() {
    QFETCH(QString, income);
    QFETCH(QString, tax);
    QCOMPARE(cumulativeTax(*Currency::fromText(income), law().bracketsFor("202601")).toFixed2(),
             tax);
}

// A new row dated later takes over from its month; before the first date nothing is taxed.
void TestPayroll::lawInForceByMonth() {
    TaxLaw changed = law();
    changed.monthlyDeductions.push_back({"202707", yuan("6000")});
    changed.brackets.push_back({"202707", {std::nullopt, percent("5"), Currency()}});
    QCOMPARE(changed.monthlyDeductionFor("202706"), yuan("5000"));
    QCOMPARE(changed.monthlyDeductionFor("202707"), yuan("6000"));
    QCOMPARE(changed.monthlyDeductionFor("201812"), Currency());
    QCOMPARE(cumulativeTax(yuan("100000"), changed.bracketsFor("202706")), yuan("7480"));
    QCOMPARE(cumulativeTax(yuan("100000"), changed.bracketsFor("202707")), yuan("5000"));
    QCOMPARE(cumulativeTax(yuan("100000"), changed.bracketsFor("201812")), Currency());
}

// Changes set in any order, one a month: each month takes the latest not after it.
void TestPayroll::settingInForceByMonth_data() {
    QTest::addColumn<QStringList>("set"); // "month=value" in the order set; no month: initial
    QTest::addColumn<QString>("month");
    QTest::addColumn<int>("inForce");
    QTest::addColumn<int>("latest");
    const QStringList raises = {"=100", "202607=110", "202601=105"};
    QTest::newRow("initial only") << QStringList{"=100"} << "202612" << 100 << 100;
    QTest::newRow("before the first change") << raises << "202512" << 100 << 110;
    QTest::newRow("in the month of a change") << raises << "202601" << 105 << 110;
    QTest::newRow("between changes") << raises << "202606" << 105 << 110;
    QTest::newRow("after the last") << raises << "202701" << 110 << 110;
    QTest::newRow("a month set again")
        << raises + QStringList{"202607=120"} << "202608" << 120 << 120;
    QTest::newRow("initial set again") << raises + QStringList{"=90"} << "202512" << 90 << 110;
}

void TestPayroll::settingInForceByMonth() {
    QFETCH(QStringList, set);
    DatedSetting<int> setting;
    for (const QString &change : set)
        setting.setFrom(change.section('=', 0, 0), change.section('=', 1).toInt());
    QFETCH(QString, month);
    QTEST(setting.in(month), "inForce");
    QTEST(setting.latest(), "latest");
}

// The tax administration's example: the year's tax equals the annual computation.
void TestPayroll::publishedYear() {
    const char *expected[] = {"555.00",  "625.00",  "1850.00", "1850.00", "1850.00", "1850.00",
                              "1850.00", "2250.00", "3700.00", "3700.00", "3700.00", "3700.00"};
    const std::vector<TaxBracket> brackets = law().bracketsFor("202601");
    YearToDate year;
    for (const char *monthTaxText : expected) {
        const Currency tax = monthTax(year, publishedMonth(), brackets);
        QCOMPARE(tax.toFixed2(), QString::fromLatin1(monthTaxText));
        year.add(publishedMonth(), tax);
    }
    QCOMPARE(year.taxWithheld, yuan("27480"));
    QCOMPARE(year.taxWithheld,
             cumulativeTax(yuan("222000"), brackets)); // 12 × (30000 − 4500 − 5000 − 2000)
}

// Cumulative tax below what was withheld: nothing this month, and no refund.
void TestPayroll::payDropRefundsNothing() {
    const std::vector<TaxBracket> brackets = law().bracketsFor("202601");
    YearToDate year;
    MonthOfPay high = publishedMonth();
    high.taxableIncome = yuan("100000");
    year.add(high, monthTax(year, high, brackets));
    QCOMPARE(year.taxWithheld, yuan("6330")); // 88500 × 10 % − 2520
    MonthOfPay none{Currency(), Currency(), yuan("2000"), Currency(), yuan("5000")};
    QCOMPARE(monthTax(year, none, brackets), Currency());
    year.add(none, Currency());
    // Withholding resumes only with what the cumulative tax exceeds the tax withheld.
    QCOMPARE(monthTax(year, publishedMonth(), brackets), yuan("1150")); // 7480 − 6330
}

// Figures carried in from before the program was used count like months of the year.
void TestPayroll::openingFiguresCount() {
    const std::vector<TaxBracket> brackets = law().bracketsFor("202601");
    YearToDate opening;
    opening.taxableIncome = yuan("180000");
    opening.preTaxDeductions = yuan("27000");
    opening.specialDeductions = yuan("12000");
    opening.basicDeductions = yuan("30000");
    opening.taxWithheld = yuan("8580"); // the first six months of the published example
    opening.months = 6;
    QCOMPARE(monthTax(opening, publishedMonth(), brackets), yuan("1850"));
    // Without them July would look like a January.
    QCOMPARE(monthTax(YearToDate(), publishedMonth(), brackets), yuan("555"));
    // Other deductions lower the income like special ones.
    MonthOfPay withOther = publishedMonth();
    withOther.otherDeductions = yuan("500");
    QCOMPARE(monthTax(YearToDate(), withOther, brackets), yuan("540"));
}

// Lines as "kind amount from through" separated by ';' (through "-": still running); the
// message is the start of the refusal, empty when the law allows them.
void TestPayroll::specialDeductionsWithinTheLaw_data() {
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("message");
    QTest::newRow("second child from July") << "子女教育 2000 202601 -;子女教育 2000 202607 -"
                                            << "";
    QTest::newRow("two children in one line") << "子女教育 4000 202601 -"
                                              << "子女教育每个子女每月最多2000.00元";
    QTest::newRow("infant care per child") << "3岁以下婴幼儿照护 2000.01 202601 -"
                                           << "3岁以下婴幼儿照护每个子女";
    QTest::newRow("elders: only child") << "赡养老人 3000 202601 -"
                                        << "";
    QTest::newRow("elders: shared") << "赡养老人 1500 202601 -"
                                    << "";
    QTest::newRow("elders: share above half") << "赡养老人 2000 202601 -"
                                              << "赡养老人每月：独生子女3000.00元";
    QTest::newRow("elders: 5000") << "赡养老人 5000 202601 -"
                                  << "赡养老人每月：独生子女3000.00元";
    QTest::newRow("elders: two lines at once")
        << "赡养老人 3000 202601 -;赡养老人 1500 202606 202612"
        << "赡养老人合计每月最多3000.00元";
    QTest::newRow("elders: one after the other")
        << "赡养老人 1500 202601 202605;赡养老人 3000 202606 -"
        << "";
    QTest::newRow("loan above the standard") << "住房贷款利息 1200 202601 -"
                                             << "住房贷款利息每月最多1000.00元";
    QTest::newRow("rent of another city") << "住房租金 1200 202601 -"
                                          << "住房租金每月按所在城市";
    QTest::newRow("rent of a small city") << "住房租金 800 202601 -"
                                          << "";
    QTest::newRow("loan and rent together")
        << "住房贷款利息 1000 202601 -;住房租金 1500 202606 202608"
        << "住房贷款利息和住房租金不能在同一月份扣除";
    QTest::newRow("rent until the loan starts")
        << "住房租金 1500 202601 202605;住房贷款利息 1000 202606 -"
        << "";
    QTest::newRow("rent after the loan ended")
        << "住房贷款利息 1000 202001 202512;住房租金 1100 202601 -"
        << "";
    QTest::newRow("education monthly") << "继续教育 400 202601 202712"
                                       << "";
    QTest::newRow("certificate once") << "继续教育 3600 202609 202609;继续教育 400 202601 -"
                                      << "";
    QTest::newRow("certificate over months") << "继续教育 3600 202609 202610"
                                             << "继续教育：学历教育每月最多400.00元";
    QTest::newRow("two certificates a year")
        << "继续教育 3600 202603 202603;继续教育 3600 202609 202609"
        << "继续教育的职业资格证书一年只能扣除一次";
    QTest::newRow("pension 1000 a month") << "个人养老金 1000 202601 -"
                                          << "";
    QTest::newRow("pension 12000 once") << "个人养老金 12000 202612 202612"
                                        << "";
    QTest::newRow("pension beyond the year's")
        << "个人养老金 12000 202612 202612;个人养老金 500 202601 202601"
        << "个人养老金每年最多12000.00元，2026年合计12500.00元";
    QTest::newRow("pension running on") << "个人养老金 1500 202607 -"
                                        << "个人养老金每年最多12000.00元，2027年合计18000.00元";
}

void TestPayroll::specialDeductionsWithinTheLaw() {
    QFETCH(QString, lines);
    QFETCH(QString, message);
    std::vector<SpecialDeduction> deductions;
    for (const QString &line : lines.split(';')) {
        const QStringList parts = line.split(' ');
        deductions.push_back({parts[0], *Currency::fromText(parts[1]), parts[2],
                              parts[3] == "-" ? QString() : parts[3]});
    }
    const QString fault = specialDeductionFault(deductions);
    QVERIFY2(message.isEmpty() ? fault.isEmpty() : fault.startsWith(message), qPrintable(fault));
}

// The monthly table for a bonus paid from January 2019 through December 2027.
BonusLaw bonusLaw() {
    BonusLaw law;
    const struct {
        const char *upTo, *rate, *quick;
    } lines[] = {{"3000", "3", "0"},      {"12000", "10", "210"},  {"25000", "20", "1410"},
                 {"35000", "25", "2660"}, {"55000", "30", "4410"}, {"80000", "35", "7160"},
                 {nullptr, "45", "15160"}};
    for (const auto &line : lines) {
        law.brackets.push_back({"201901",
                                {line.upTo ? std::optional(yuan(line.upTo)) : std::nullopt,
                                 percent(line.rate), yuan(line.quick)}});
        law.lastMonths.push_back({"201901", "202712"});
    }
    return law;
}

void TestPayroll::yearEndBonusTaxedApart_data() {
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("bonus");
    QTest::addColumn<QString>("tax"); // empty: the law taxes no bonus apart that month
    QTest::newRow("20000 in March") << "202603"
                                    << "20000"
                                    << "600.00";
    QTest::newRow("at the first edge") << "202612"
                                       << "36000"
                                       << "1080.00";
    QTest::newRow("a yuan over it") << "202612"
                                    << "36001"
                                    << "3390.10";
    QTest::newRow("second line's top") << "202612"
                                       << "144000"
                                       << "14190.00";
    QTest::newRow("top line") << "202612"
                              << "1000000"
                              << "434840.00";
    QTest::newRow("the law's last month") << "202712"
                                          << "20000"
                                          << "600.00";
    QTest::newRow("after the law") << "202801"
                                   << "20000"
                                   << "";
    QTest::newRow("before the law") << "201812"
                                    << "20000"
                                    << "";
}

void TestPayroll::yearEndBonusTaxedApart() {
    QFETCH(QString, month);
    QFETCH(QString, bonus);
    QFETCH(QString, tax);
    const std::vector<TaxBracket> brackets = bonusLaw().bracketsFor(month);
    QCOMPARE(brackets.empty(), tax.isEmpty());
    if (!brackets.empty())
        QCOMPARE(bonusTax(*Currency::fromText(bonus), brackets).toFixed2(), tax);
}

// Above an edge the whole bonus moves to the higher rate: until the bonus has grown enough,
// it keeps less after tax than the edge itself.
void TestPayroll::bonusJustOverAnEdge_data() {
    QTest::addColumn<QString>("bonus");
    QTest::addColumn<QString>("edge"); // empty: no warning
    QTest::newRow("at the edge") << "36000"
                                 << "";
    QTest::newRow("a yuan over") << "36001"
                                 << "36000.00";
    QTest::newRow("where it keeps as much") << "38566.67"
                                            << "";
    QTest::newRow("a fen short of that") << "38566.66"
                                         << "36000.00";
    QTest::newRow("over the third edge") << "300001"
                                         << "300000.00";
    QTest::newRow("first line") << "20000"
                                << "";
}

void TestPayroll::bonusJustOverAnEdge() {
    QFETCH(QString, bonus);
    QFETCH(QString, edge);
    const std::optional<Currency> found =
        bonusEdgeBelow(*Currency::fromText(bonus), bonusLaw().bracketsFor("202612"));
    QCOMPARE(found ? found->toFixed2() : QString(), edge);
}

void TestPayroll::basicDeductionByTheYearsChoice_data() {
    QTest::addColumn<QString>("choice"); // none, whole year, since January
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("before"); // the year's basic deductions so far
    QTest::addColumn<QString>("deduction");
    QTest::newRow("none") << "none"
                          << "202607"
                          << "0"
                          << "5000.00";
    QTest::newRow("whole year in January") << "whole year"
                                           << "202601"
                                           << "0"
                                           << "60000.00";
    QTest::newRow("whole year after January") << "whole year"
                                              << "202602"
                                              << "60000"
                                              << "0.00";
    QTest::newRow("whole year from a later first pay") << "whole year"
                                                       << "202603"
                                                       << "0"
                                                       << "60000.00";
    QTest::newRow("first pay in July") << "since January"
                                       << "202607"
                                       << "0"
                                       << "35000.00";
    QTest::newRow("the month after") << "since January"
                                     << "202608"
                                     << "35000"
                                     << "5000.00";
    QTest::newRow("more than the months") << "since January"
                                          << "202602"
                                          << "60000"
                                          << "0.00";
}

void TestPayroll::basicDeductionByTheYearsChoice() {
    QFETCH(QString, choice);
    QFETCH(QString, month);
    QFETCH(QString, before);
    QFETCH(QString, deduction);
    const YearSwitches switches{false, choice == "whole year", choice == "since January"};
    YearToDate year;
    year.basicDeductions = *Currency::fromText(before);
    QCOMPARE(basicDeductionIn(switches, year, month, yuan("5000")).toFixed2(), deduction);
}

// Relief lowers the year's tax from its month on; more than a month's tax is carried on.
void TestPayroll::reliefLowersTheYearsTax_data() {
    QTest::addColumn<int>("month");
    QTest::addColumn<QString>("relief");
    QTest::addColumn<QString>("taxes"); // January to April
    QTest::newRow("none") << 1 << "0"
                          << "555.00 625.00 1850.00 1850.00";
    QTest::newRow("100 in March") << 3 << "100"
                                  << "555.00 625.00 1750.00 1850.00";
    QTest::newRow("more than a month's") << 1 << "1000"
                                         << "0.00 180.00 1850.00 1850.00";
}

void TestPayroll::reliefLowersTheYearsTax() {
    QFETCH(int, month);
    QFETCH(QString, relief);
    const std::vector<TaxBracket> brackets = law().bracketsFor("202601");
    YearToDate year;
    QStringList taxes;
    for (int m = 1; m <= 4; ++m) {
        MonthOfPay pay = publishedMonth();
        if (m == month)
            pay.taxRelief = *Currency::fromText(relief);
        const Currency tax = monthTax(year, pay, brackets);
        taxes << tax.toFixed2();
        year.add(pay, tax);
    }
    QTEST(taxes.join(' '), "taxes");
}

QTEST_GUILESS_MAIN(TestPayroll)
#include "test_payroll.moc"
