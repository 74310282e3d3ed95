// Amounts at the edges: rounding to the fen, reading typed text, and values beyond 64 bits of
// ten-thousandths, which must be refused instead of wrapping around.
#include "currency.h"
#include "currencyprint.h"
#include "workspace.h"

#include <QTest>
#include <limits>

namespace {

constexpr std::int64_t most = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t least = std::numeric_limits<std::int64_t>::min();

} // namespace

class CurrencyTest : public QObject {
    Q_OBJECT
private slots:
    void toFixed2_data();
    void toFixed2();
    void fromText_data();
    void fromText();
    void outOfRangeIsAnError_data();
    void outOfRangeIsAnError();
    void hugeParameterIsAnError_data();
    void hugeParameterIsAnError();
};

void CurrencyTest::toFixed2_data() {
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QString>("fixed");
    QTest::addColumn<QString>("plain");
    QTest::newRow("half a fen up") << qint64(10050) << "1.01"
                                   << "1.005";
    QTest::newRow("just below half a fen") << qint64(10049) << "1.00"
                                           << "1.0049";
    QTest::newRow("negative half a fen") << qint64(-10050) << "-1.01"
                                         << "-1.005";
    QTest::newRow("below a fen, no minus zero") << qint64(-49) << "0.00"
                                                << "-0.0049";
    QTest::newRow("whole") << qint64(120000) << "12.00"
                           << "12";
    QTest::newRow("largest") << qint64(most) << "922337203685477.58"
                             << "922337203685477.5807";
    QTest::newRow("most negative") << qint64(least) << "-922337203685477.58"
                                   << "-922337203685477.5808";
}

void CurrencyTest::toFixed2() {
    QFETCH(qint64, units);
    const Currency amount = Currency::fromUnits(units);
    QTEST(amount.toFixed2(), "fixed");
    QTEST(amount.toPlainText(), "plain");
}

void CurrencyTest::fromText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("reads");
    QTest::addColumn<qint64>("units");
    const auto row = [](const char *name, const char *text, bool reads, qint64 units) {
        QTest::newRow(name) << QString::fromUtf8(text) << reads << units;
    };
    row("two decimals", "1234.56", true, 12345600);
    row("leading point", ".05", true, 500);
    row("trailing point", "7.", true, 70000);
    row("negative", "-0.3", true, -3000);
    row("four decimals", "0.0001", true, 1);
    row("five decimals", "0.00001", false, 0);
    row("largest", "922337203685477.5807", true, most);
    row("most negative", "-922337203685477.5808", true, least);
    row("one unit beyond the largest", "922337203685477.5808", false, 0);
    row("one unit beyond the most negative", "-922337203685477.5809", false, 0);
    row("far beyond", "100000000000000000000", false, 0);
    row("empty", "", false, 0);
    row("lone minus", "-", false, 0);
    row("lone point", ".", false, 0);
    row("grouping", "1,000", false, 0);
    row("plus", "+1", false, 0);
    row("blank", " 1", false, 0);
}

void CurrencyTest::fromText() {
    QFETCH(QString, text);
    QFETCH(bool, reads);
    const std::optional<Currency> amount = Currency::fromText(text);
    QCOMPARE(amount.has_value(), reads);
    if (reads)
        QTEST(qint64(amount->units()), "units");
}

// Each conversion or sum either gives the exact amount or throws; none wraps around.
void CurrencyTest::outOfRangeIsAnError_data() {
    QTest::addColumn<std::function<Currency()>>("convert");
    const auto row = [](const char *name, std::function<Currency()> convert) {
        QTest::newRow(name) << std::move(convert);
    };
    row("1e15 yuan", [] { return Currency::fromDouble(1e15); });
    row("-1e15 yuan", [] { return Currency::fromDouble(-1e15); });
    row("infinity", [] { return Currency::fromDouble(std::numeric_limits<double>::infinity()); });
    row("not a number", [] { return Currency::fromDouble(std::nan("")); });
    row("whole yuan beyond the range", [] { return Currency::fromYuan(most / 1000); });
    row("sum", [] { return Currency::fromUnits(most) + Currency::fromUnits(1); });
    row("difference", [] { return Currency::fromUnits(least) - Currency::fromUnits(1); });
    row("accumulated", [] {
        Currency total = Currency::fromUnits(most - 1);
        total += Currency::fromUnits(2);
        return total;
    });
}

void CurrencyTest::outOfRangeIsAnError() {
    QFETCH(std::function<Currency()>, convert);
    QVERIFY_THROWS_EXCEPTION(CurrencyRangeError, convert());
}

// An amount parameter too large for its column is refused before anything is written.
void CurrencyTest::hugeParameterIsAnError_data() {
    QTest::addColumn<std::function<void(Parameter &)>>("set");
    QTest::newRow("floating") << std::function<void(Parameter &)>(
        [](Parameter &p) { p.setFloat(1e15); });
    QTest::newRow("integer") << std::function<void(Parameter &)>(
        [](Parameter &p) { p.setInteger(most / 100); });
    QTest::newRow("text") << std::function<void(Parameter &)>(
        [](Parameter &p) { p.setText(QStringLiteral("1e300")); });
}

void CurrencyTest::hugeParameterIsAnError() {
    QFETCH(std::function<void(Parameter &)>, set);
    Workspace workspace;
    DM->AQUP.clearSql();
    DM->AQUP.addLine(QStringLiteral("insert into GZB (ny,ygh,f1) values ('202612',1,:f1)"));
    set(DM->AQUP.param(QStringLiteral("f1")));
    QVERIFY_THROWS_EXCEPTION(CurrencyRangeError, DM->AQUP.execSql());
    openLines(DM->AQ1, {"select count(*) as n from GZB"});
    QCOMPARE(DM->AQ1.field(QStringLiteral("n")).asInteger(), 0);
}

QTEST_MAIN(CurrencyTest)
#include "test_currency.moc"
