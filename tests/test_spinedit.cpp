// The year and month box in a real window: stepping, what may be typed, and the number typed
// outside the range that is brought back into it only when the box is left.
#include "boxwindow.h"
#include "fonts.h"
#include "spinedit.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QStyleOptionSpinBox>
#include <QTest>
#include <memory>

class SpinEditTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void stepping_data();
    void stepping();
    void typingAndLeaving_data();
    void typingAndLeaving();
    void otherWindowLeavesTheTypingAlone();
    void setValueClamps_data();
    void setValueClamps();
    void yearShowsWholeInANarrowBox();

private:
    enum Step { UpKey, DownKey, UpArrow, DownArrow };

    void makeBox(int minimum, int maximum, int value);
    QPoint arrowCentre(QStyle::SubControl arrow) const;

    std::unique_ptr<QWidget> m_window;
    SpinEdit *m_box = nullptr;
    QLineEdit *m_next = nullptr;
};

void SpinEditTest::init() {
    m_window = showInWindow(m_box = new SpinEdit(2005, 2100), m_next);
    QVERIFY(m_window);
}

void SpinEditTest::cleanup() {
    m_window.reset();
}

void SpinEditTest::makeBox(int minimum, int maximum, int value) {
    m_box->setRange(minimum, maximum);
    m_box->setValue(value);
}

QPoint SpinEditTest::arrowCentre(QStyle::SubControl arrow) const {
    QStyleOptionSpinBox option;
    option.initFrom(m_box);
    option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown | QStyle::SC_SpinBoxFrame;
    option.buttonSymbols = m_box->buttonSymbols();
    option.frame = m_box->hasFrame();
    return m_box->style()->subControlRect(QStyle::CC_SpinBox, &option, arrow, m_box).center();
}

// `keys` are typed into the box first (Tab entered it, selecting all); then one step.
void SpinEditTest::stepping_data() {
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("text");

    const auto row = [](const char *name, int minimum, int maximum, const QString &keys, Step step,
                        const QString &text) {
        QTest::newRow(name) << minimum << maximum << keys << int(step) << text;
    };
    row("up key", 1, 12, "5", UpKey, "6");
    row("down key", 1, 12, "5", DownKey, "4");
    row("up arrow", 1, 12, "5", UpArrow, "6");
    row("down arrow", 1, 12, "5", DownArrow, "4");
    row("up key stops at the maximum", 1, 12, "12", UpKey, "12");
    row("down arrow stops at the minimum", 1, 12, "1", DownArrow, "1");
    row("up from a typed year below the range", 2005, 2100, "1999", UpKey, "2005");
    row("down from a typed year below the range", 2005, 2100, "1999", DownKey, "2005");
    row("down arrow from a typed year below the range", 2005, 2100, "1999", DownArrow, "2005");
    row("down from a typed year above the range", 2005, 2100, "2200", DownKey, "2100");
    row("up from a typed year above the range", 2005, 2100, "2200", UpKey, "2100");
    row("from no number", 1, 12, "-", UpKey, "2");
}

void SpinEditTest::stepping() {
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(QString, keys);
    QFETCH(int, step);
    QFETCH(QString, text);

    makeBox(minimum, maximum, minimum);
    tab();
    QTest::keyClicks(m_box, keys);
    QSignalSpy changed(m_box, &SpinEdit::changed);
    if (step == UpKey || step == DownKey)
        QTest::keyClick(m_box, step == UpKey ? Qt::Key_Up : Qt::Key_Down);
    else
        QTest::mouseClick(
            m_box, Qt::LeftButton, {},
            arrowCentre(step == UpArrow ? QStyle::SC_SpinBoxUp : QStyle::SC_SpinBoxDown));
    QCOMPARE(m_box->text(), text);
    QCOMPARE(m_box->typedValue(), text.toInt());
    QCOMPARE(changed.count(), text == keys ? 0 : 1);
}

// Keys typed one by one into a box entered by Tab (which selects all), then the box is left.
void SpinEditTest::typingAndLeaving_data() {
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("typedValue");
    QTest::addColumn<QString>("left");

    const auto row = [](const char *name, int minimum, int maximum, const QString &keys,
                        const QString &typed, int typedValue, const QString &left) {
        QTest::newRow(name) << minimum << maximum << keys << typed << typedValue << left;
    };
    row("year below the range", 2005, 2100, "1999", "1999", 1999, "2005");
    row("year above the range", 2005, 2100, "2101", "2101", 2101, "2100");
    row("year in the range", 2005, 2100, "2026", "2026", 2026, "2026");
    row("month zero", 1, 12, "0", "0", 0, "1");
    row("month 13", 1, 12, "13", "13", 13, "12");
    row("negative month", 1, 12, "-3", "-3", -3, "1");
    row("plus sign", 1, 12, "+7", "+7", 7, "+7");
    row("letters and blanks refused", 1, 12, "1a 2", "12", 12, "12");
    row("decimal point taken, no number", 1, 12, "3.5", "3.5", 1, "3.5");
    row("empty reads as the minimum", 5, 12, "\b", "", 5, "");
    row("lone minus reads as the minimum", 5, 12, "-", "-", 5, "-");
}

void SpinEditTest::typingAndLeaving() {
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(QString, keys);
    QFETCH(QString, typed);
    QFETCH(int, typedValue);
    QFETCH(QString, left);

    makeBox(minimum, maximum, minimum);
    tab();
    QVERIFY(m_box->hasFocus());
    QSignalSpy changed(m_box, &SpinEdit::changed);
    QTest::keyClicks(m_box, keys);
    QCOMPARE(m_box->text(), typed);
    QCOMPARE(m_box->typedValue(), typedValue);
    // What the box stands for while still being typed in: a button that takes no focus acts
    // on this.
    QCOMPARE(m_box->value(), qBound(minimum, typedValue, maximum));

    const int changesWhileTyping = int(changed.count());
    tab();
    QVERIFY(m_next->hasFocus());
    QCOMPARE(m_box->text(), left);
    QCOMPARE(changed.count(), changesWhileTyping + (left == typed ? 0 : 1));
}

// "2" on the way to "2026" stays as typed while the operator looks at another window.
void SpinEditTest::otherWindowLeavesTheTypingAlone() {
    tab();
    QTest::keyClicks(m_box, "2");
    QVERIFY(visitAnotherWindow(m_window.get(), [this] { QCOMPARE(m_box->text(), "2"); }));
    QTRY_VERIFY(m_box->hasFocus());
    QTest::keyClicks(m_box, "026");
    QCOMPARE(m_box->typedValue(), 2026);
}

void SpinEditTest::setValueClamps_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("in the range") << 2026 << "2026";
    QTest::newRow("below") << 1999 << "2005";
    QTest::newRow("above") << 3000 << "2100";
}

void SpinEditTest::setValueClamps() {
    QFETCH(int, value);
    QFETCH(QString, text);

    m_box->setValue(2050);
    QSignalSpy changed(m_box, &SpinEdit::changed);
    m_box->setValue(value);
    QCOMPARE(m_box->text(), text);
    QCOMPARE(changed.count(), 1);
}

QTEST_MAIN(SpinEditTest)
// The query and statistics windows give their year boxes 44 × 21 pixels in 宋体 12 px.
void SpinEditTest::yearShowsWholeInANarrowBox() {
    installFontSubstitutes();
    QWidget window;
    window.setFont(pixelFont(FontFamily::song, 12));
    SpinEdit year(2005, 2100, &window);
    year.setGeometry(68, 32, 44, 21);
    year.setValue(2026);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QLineEdit *text = year.findChild<QLineEdit *>();
    const int needed = text->fontMetrics().horizontalAdvance(QStringLiteral("2026"));
    QVERIFY2(text->contentsRect().width() - 4 >= needed, // QLineEdit keeps 2 px each side
             qPrintable(QStringLiteral("%1 px for a year of %2 px")
                            .arg(text->contentsRect().width() - 4)
                            .arg(needed)));
}

#include "test_spinedit.moc"
