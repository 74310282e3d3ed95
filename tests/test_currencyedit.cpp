// The currency box in a real window: the two forms it shows, what typing may do, and when it
// reports a change.
#include "boxwindow.h"
#include "currencyedit.h"
#include "currencyprint.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

// An amount written as the operator types it; "" is 0.
Currency yuan(const QString &text) {
    return text.isEmpty() ? Currency() : Currency::fromText(text).value();
}

} // namespace

class CurrencyEditTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void shownForms_data();
    void shownForms();
    void disabledShowsTheCurrencyForm_data();
    void disabledShowsTheCurrencyForm();
    void twoDecimalAmountsRoundTrip();
    void typing_data();
    void typing();
    void leavingStoresTheTypedValue();
    void escapeRestoresTheStoredValue();
    void contextMenuKeepsTheTypedForm();
    void otherWindowKeepsTheTypedForm();
    void changedOnlyWhenTheTextChanges();

private:
    std::unique_ptr<QWidget> m_window;
    CurrencyEdit *m_box = nullptr;
    QLineEdit *m_next = nullptr;
};

void CurrencyEditTest::init() {
    m_window = showInWindow(m_box = new CurrencyEdit, m_next);
    QVERIFY(m_window);
}

void CurrencyEditTest::cleanup() {
    m_window.reset();
}

void CurrencyEditTest::shownForms_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    const auto row = [](const char *name, const QString &value, const QString &typed,
                        const QString &shown) { QTest::newRow(name) << value << typed << shown; };
    row("one decimal", "12.5", "12.5", "¥12.50");
    row("whole", "3", "3", "¥3.00");
    row("hundreds, no separator", "999.99", "999.99", "¥999.99");
    row("thousands", "1234.5", "1234.5", "¥1,234.50");
    row("millions", "1234567.89", "1234567.89", "¥1,234,567.89");
    row("largest typed", "9999999999999.99", "9999999999999.99", "¥9,999,999,999,999.99");
    row("negative", "-12.5", "-12.5", "-¥12.50");
    row("negative thousands", "-1234.05", "-1234.05", "-¥1,234.05");
    row("zero is an empty box", "", "", "¥0.00");
    row("below a fen is zero, not minus zero", "-0.001", "", "¥0.00");
    row("rounded to fen", "2.3457", "2.35", "¥2.35");
    // The grid shows a stored 1.005 as "1.01"; the box must agree.
    row("half a fen away from zero", "1.005", "1.01", "¥1.01");
    row("negative half a fen away from zero", "-1.005", "-1.01", "-¥1.01");
}

void CurrencyEditTest::shownForms() {
    QFETCH(QString, value);
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    m_box->setValue(yuan(value));
    QCOMPARE(m_box->text(), shown);
    tab();
    QVERIFY(m_box->hasFocus());
    QCOMPARE(m_box->text(), typed);
    tab();
    QCOMPARE(m_box->text(), shown);
    QCOMPARE(m_box->value(), yuan(typed));
}

// Disabled while being typed in, by itself or with what holds it, and also while the operator
// is in another window, so that the box never loses the focus: the typed amount is kept and
// shown in the currency form.
void CurrencyEditTest::disabledShowsTheCurrencyForm_data() {
    QTest::addColumn<bool>("wholeWindow");
    QTest::addColumn<bool>("whileAway");
    QTest::newRow("the box") << false << false;
    QTest::newRow("its window") << true << false;
    QTest::newRow("the box, window inactive") << false << true;
    QTest::newRow("its window, window inactive") << true << true;
}

void CurrencyEditTest::disabledShowsTheCurrencyForm() {
    QFETCH(bool, wholeWindow);
    QFETCH(bool, whileAway);

    tab();
    QTest::keyClicks(m_box, "1234.5");
    QWidget *disabled = wholeWindow ? m_window.get() : static_cast<QWidget *>(m_box);
    if (whileAway)
        QVERIFY(visitAnotherWindow(m_window.get(), [&] {
            disabled->setEnabled(false);
            QCOMPARE(m_box->text(), "¥1,234.50");
        }));
    else
        disabled->setEnabled(false);
    QCOMPARE(m_box->text(), "¥1,234.50");
    QCOMPARE(m_box->value(), yuan("1234.5"));
}

// Every fen amount up to 100 yuan and some large ones, typed form and back, compared exactly.
void CurrencyEditTest::twoDecimalAmountsRoundTrip() {
    tab();
    QList<Currency> amounts;
    for (int fen = -10000; fen <= 10000; ++fen)
        amounts << Currency::fromUnits(fen * Currency::unitsPerYuan / 100);
    for (const char *large :
         {"9876543.21", "-123456789.99", "1000000000000.01", "-9999999999999.99"})
        amounts << yuan(QLatin1String(large));
    for (const Currency amount : amounts) {
        m_box->setValue(amount);
        if (m_box->value() != amount)
            QFAIL(qPrintable(
                QStringLiteral("%1 reads back as %2 from \"%3\"")
                    .arg(amount.toPlainText(), m_box->value().toPlainText(), m_box->text())));
    }
}

// Keys typed one by one into the empty box; a refused key leaves the text as it was.
void CurrencyEditTest::typing_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("value");

    const auto row = [](const char *name, const QString &keys, const QString &text,
                        const QString &value) { QTest::newRow(name) << keys << text << value; };
    row("plain", "12.34", "12.34", "12.34");
    row("third decimal refused", "12.345", "12.34", "12.34");
    row("negative", "-5.5", "-5.5", "-5.5");
    row("minus only in front", "5-", "5", "5");
    row("second point refused", "1.2.3", "1.23", "1.23");
    row("letters refused", "a1b", "1", "1");
    row("grouping refused", "1,000", "1000", "1000");
    row("plus refused", "+5", "5", "5");
    row("currency sign refused", "¥5", "5", "5");
    row("lone minus reads zero", "-", "-", "");
    row("leading point", ".5", ".5", "0.5");
    row("trailing point", "7.", "7.", "7");
    // Beyond thirteen whole digits forty amounts could add up past what Currency holds.
    row("fourteenth whole digit refused", "99999999999999.99", "9999999999999.99",
        "9999999999999.99");
    row("fourteenth negative digit refused", "-12345678901234", "-1234567890123", "-1234567890123");
}

void CurrencyEditTest::typing() {
    QFETCH(QString, keys);
    QFETCH(QString, text);
    QFETCH(QString, value);

    tab();
    QTest::keyClicks(m_box, keys);
    QCOMPARE(m_box->text(), text);
    QCOMPARE(m_box->value(), yuan(value));
}

void CurrencyEditTest::leavingStoresTheTypedValue() {
    tab();
    QTest::keyClicks(m_box, "-1234.5");
    tab();
    QCOMPARE(m_box->text(), "-¥1,234.50");
    QCOMPARE(m_box->value(), yuan("-1234.5"));
    tab();
    QCOMPARE(m_box->text(), "-1234.5");
}

void CurrencyEditTest::escapeRestoresTheStoredValue() {
    m_box->setValue(yuan("7.5"));
    tab();
    QTest::keyClicks(m_box, "99"); // entering by Tab selected all, so this replaces the text
    QCOMPARE(m_box->text(), "99");
    QTest::keyClick(m_box, Qt::Key_Escape);
    QCOMPARE(m_box->text(), "7.5");
    tab();
    QCOMPARE(m_box->text(), "¥7.50");
}

// A context menu or another window takes the focus for a while; the typing goes on afterwards,
// and Escape still goes back to the value the box was entered with.
void CurrencyEditTest::contextMenuKeepsTheTypedForm() {
    m_box->setValue(yuan("7.5"));
    tab();
    QTest::keyClicks(m_box, "5");
    QString textUnderMenu;
    QTimer::singleShot(0, this, [&] {
        textUnderMenu = m_box->text();
        if (QWidget *menu = QApplication::activePopupWidget())
            menu->close();
    });
    const QPoint centre = m_box->mapTo(m_window.get(), m_box->rect().center());
    QTest::mouseClick(m_window->windowHandle(), Qt::RightButton, {}, centre);
    QCOMPARE(textUnderMenu, "5");
    m_window->activateWindow();
    QTRY_VERIFY(m_box->hasFocus());
    QCOMPARE(m_box->text(), "5");
    QTest::keyClick(m_box, Qt::Key_Escape);
    QCOMPARE(m_box->text(), "7.5");
}

void CurrencyEditTest::otherWindowKeepsTheTypedForm() {
    m_box->setValue(yuan("7.5"));
    tab();
    QTest::keyClicks(m_box, "5");
    QVERIFY(visitAnotherWindow(m_window.get(), [this] { QCOMPARE(m_box->text(), "5"); }));
    QTRY_VERIFY(m_box->hasFocus());
    QTest::keyClick(m_box, Qt::Key_Escape);
    QCOMPARE(m_box->text(), "7.5");
}

void CurrencyEditTest::changedOnlyWhenTheTextChanges() {
    QSignalSpy changed(m_box, &CurrencyEdit::changed);
    m_box->setValue(yuan("1"));
    QCOMPARE(changed.count(), 1);
    m_box->setValue(yuan("1"));
    QCOMPARE(changed.count(), 1);
    tab();
    QCOMPARE(changed.count(), 1);
    QTest::keyClicks(m_box, "2x");
    QCOMPARE(changed.count(), 2);
    m_box->setValue(yuan("3")); // while typing: rewrites the typed form
    QCOMPARE(m_box->text(), "3");
    QCOMPARE(changed.count(), 3);
    tab();
    QCOMPARE(changed.count(), 3);
}

QTEST_MAIN(CurrencyEditTest)
#include "test_currencyedit.moc"
