// The date box in a real window: typing into the fixed positions, the stored form with its
// blanks, and the refusal to leave a changed date that lacks a required digit.
#include "boxwindow.h"
#include "dateedit.h"
#include "datetext.h"
#include "messagerecorder.h"

#include <QClipboard>
#include <QTest>
#include <memory>

namespace {

const QString refusal = QStringLiteral("Invalid input value.  Use escape key to abandon changes.");

QTestEventList keys(const QString &typed) {
    QTestEventList events;
    events.addKeyClicks(typed);
    return events;
}

// Home, then the cursor moved right by `steps`.
QTestEventList cursorAt(int steps) {
    QTestEventList events;
    events.addKeyClick(Qt::Key_Home);
    for (int step = 0; step < steps; ++step)
        events.addKeyClick(Qt::Key_Right);
    return events;
}

// The list owns its events, so the second list's are copied, not shared.
QTestEventList operator+(QTestEventList first, const QTestEventList &then) {
    for (const QTestEvent *event : then)
        first.append(event->clone());
    return first;
}

QTestEventList key(Qt::Key key) {
    QTestEventList events;
    events.addKeyClick(key);
    return events;
}

} // namespace

class DateEditTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void storedText_data();
    void storedText();
    void typing_data();
    void typing();
    void pasting_data();
    void pasting();
    void leaving_data();
    void leaving();
    void spellingsOfADate_data();
    void spellingsOfADate();
    void refusedUntilCompletedOrAbandoned_data();
    void refusedUntilCompletedOrAbandoned();
    void disablingTheBoxIsNoAttemptToLeave();
    void anotherWindowIsNoAttemptToLeave();

private:
    // Entering the box by Tab selects its whole text.
    std::unique_ptr<QWidget> m_window;
    DateEdit *m_box = nullptr;
    QLineEdit *m_next = nullptr;
    std::unique_ptr<MessageRecorder> m_messages;
};

void DateEditTest::init() {
    m_messages = std::make_unique<MessageRecorder>();
    m_window = showInWindow(m_box = new DateEdit, m_next);
    QVERIFY(m_window);
}

void DateEditTest::cleanup() {
    m_window.reset();
    m_messages.reset();
}

void DateEditTest::storedText_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("text");

    const auto row = [](const char *name, const QString &stored, const QString &shown,
                        const QString &text) { QTest::newRow(name) << stored << shown << text; };
    row("empty", "", "____-__-__", "    -  -  ");
    row("blank", "    -  -  ", "____-__-__", "    -  -  ");
    row("two-digit parts", "1980-03-05", "1980-03-05", "1980-03-05");
    row("one-digit parts", "1980- 3- 5", "1980-_3-_5", "1980- 3- 5");
    row("left-aligned parts stay where they are", "1980-3 -5 ", "1980-3_-5_", "1980-3 -5 ");
    row("year only", "1980-  -  ", "1980-__-__", "1980-  -  ");
}

void DateEditTest::storedText() {
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(QString, text);

    m_box->setDateText(stored);
    QCOMPARE(m_box->displayText(), shown);
    QCOMPARE(m_box->dateText(), text);
}

// `events` go to the box after Tab entered it with its text `start` selected.
void DateEditTest::typing_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QTestEventList>("events");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("text");

    const auto row = [](const char *name, const QString &start, const QTestEventList &events,
                        const QString &shown, const QString &text) {
        QTest::newRow(name) << start << events << shown << text;
    };
    const QString date = QStringLiteral("1980-03-05");
    const QTestEventList right = key(Qt::Key_Right);
    row("straight through", "", keys("19800305"), date, date);
    row("with hyphens", "", keys("1980-03-05"), date, date);
    row("one-digit month ended by a hyphen", "", keys("1980-3-5"), "1980-_3-5_", "1980- 3-5 ");
    row("slash and point end parts too", "", keys("1980/3.5"), "1980-_3-5_", "1980- 3-5 ");
    row("day reached by the arrow key", "", keys("19803") + right + right + keys("5"), "1980-3_-5_",
        "1980-3 -5 ");
    row("year only", "", keys("1980"), "1980-__-__", "1980-  -  ");
    row("letters refused", "", keys("19a80"), "1980-__-__", "1980-  -  ");
    row("digit past the end refused", "", keys("198003051"), date, date);
    row("hyphen in the day refused", "", keys("1980-03-0-5"), date, date);
    row("typing replaces the selected date", date, keys("2"), "2___-__-__", "2   -  -  ");
    row("digit overwrites", date, cursorAt(1) + keys("7"), "1780-03-05", "1780-03-05");
    row("digit before a hyphen lands after it", date, cursorAt(4) + keys("1"), "1980-13-05",
        "1980-13-05");
    row("backspace after a hyphen clears the digit before it", date,
        cursorAt(5) + key(Qt::Key_Backspace), "198_-03-05", "198 -03-05");
    row("delete before a hyphen clears the digit after it", date, cursorAt(4) + key(Qt::Key_Delete),
        "1980-_3-05", "1980- 3-05");
    row("delete goes on to the next position", date,
        cursorAt(0) + key(Qt::Key_Delete) + key(Qt::Key_Delete), "__80-03-05", "  80-03-05");
    row("backspace at the start does nothing", date, cursorAt(0) + key(Qt::Key_Backspace), date,
        date);
    row("backspace clears the selection", date, key(Qt::Key_Backspace), "____-__-__", "    -  -  ");
}

void DateEditTest::typing() {
    QFETCH(QString, start);
    QFETCH(QTestEventList, events);
    QFETCH(QString, shown);
    QFETCH(QString, text);

    m_box->setDateText(start);
    tab();
    QVERIFY(m_box->hasFocus());
    events.simulate(m_box);
    QCOMPARE(m_box->displayText(), shown);
    QCOMPARE(m_box->dateText(), text);
}

// Ctrl+V over the whole selected date: only a text in the form shown may replace it.
void DateEditTest::pasting_data() {
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("shown");

    const auto row = [](const char *name, const QString &clipboard, const QString &shown) {
        QTest::newRow(name) << clipboard << shown;
    };
    row("a date as shown", "2026-12-10", "2026-12-10");
    row("blanks as shown", "2026-_1-__", "2026-_1-__");
    row("no hyphens refused", "20261210", "1980-03-05");
    row("stored blanks refused", "2026- 1-  ", "1980-03-05");
    row("words refused", "tomorrow", "1980-03-05");
}

void DateEditTest::pasting() {
    QFETCH(QString, clipboard);
    QFETCH(QString, shown);

    m_box->setDateText(QStringLiteral("1980-03-05"));
    tab();
    QApplication::clipboard()->setText(clipboard);
    QTest::keyClick(m_box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_box->displayText(), shown);
}

// The box is entered by Tab with `start`, sent `events`, and Tab is pressed to leave it.
void DateEditTest::leaving_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QTestEventList>("events");
    QTest::addColumn<bool>("left");
    QTest::addColumn<QString>("shown");

    const auto row = [](const char *name, const QString &start, const QTestEventList &events,
                        bool left, const QString &shown) {
        QTest::newRow(name) << start << events << left << shown;
    };
    const QTestEventList right = key(Qt::Key_Right);
    row("untouched empty box", "", {}, true, "____-__-__");
    row("untouched incomplete date", "1980-  -  ", {}, true, "1980-__-__");
    row("complete date", "", keys("19800305"), true, "1980-03-05");
    row("blanks typed before one-digit parts", "", keys("1980-3-") + right + keys("5"), true,
        "1980-_3-_5");
    row("one-digit parts typed in front", "", keys("19803") + right + right + keys("5"), false,
        "1980-3_-5_");
    row("one-digit day ended by leaving", "", keys("2005-12-3"), true, "2005-12-_3");
    row("last digit erased", "2005-12-31", key(Qt::Key_End) + key(Qt::Key_Backspace), false,
        "2005-12-3_");
    row("typed and erased again", "", keys("1") + key(Qt::Key_Backspace), true, "____-__-__");
    row("year only", "", keys("1980"), false, "1980-__-__");
    row("day missing", "", keys("1980-3"), false, "1980-3_-__");
    row("year digit erased", "1980-03-05", cursorAt(0) + key(Qt::Key_Delete), false, "_980-03-05");
}

void DateEditTest::leaving() {
    QFETCH(QString, start);
    QFETCH(QTestEventList, events);
    QFETCH(bool, left);
    QFETCH(QString, shown);

    m_box->setDateText(start);
    tab();
    QVERIFY(m_box->hasFocus());
    events.simulate(m_box);
    tab();
    if (left) {
        QCoreApplication::processEvents();
        QVERIFY(m_next->hasFocus());
        QVERIFY(m_messages->shown().isEmpty());
    } else {
        QTRY_VERIFY(m_box->hasFocus());
        QCOMPARE(m_messages->shown().size(), 1);
        QCOMPARE(m_messages->shown()[0].kind, Messages::Kind::Error);
        QCOMPARE(m_messages->shown()[0].text, refusal);
    }
    QCOMPARE(m_box->displayText(), shown);
}

// The ways a clerk types a date, into an empty box or over one held, the text the box stores
// once it is left, and whether that text is a calendar date.
void DateEditTest::spellingsOfADate_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QTestEventList>("events");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    const auto row = [](const char *name, const QString &start, const QTestEventList &events,
                        const QString &text,
                        bool valid) { QTest::newRow(name) << start << events << text << valid; };
    const QString held = QStringLiteral("1985-12-30");
    const QTestEventList home = cursorAt(0);
    row("hyphens, one-digit parts", "", keys("2000-5-1"), "2000- 5- 1", true);
    row("blanks, one-digit parts", "", keys("2000 5 1"), "2000- 5- 1", true);
    row("hyphens, two-digit parts", "", keys("2000-05-01"), "2000-05-01", true);
    row("digits only", "", keys("20000501"), "2000-05-01", true);
    row("one-digit month, two-digit day", "", keys("2000-5-12"), "2000- 5-12", true);
    row("two-digit month, one-digit day", "", keys("2000-12-1"), "2000-12- 1", true);
    row("a blank before the day only", "", keys("2000-11 1"), "2000-11- 1", true);
    row("a blank where a digit is required is refused", "", keys("19 80 3 5"), "1980- 3- 5", true);
    row("no 30 February, one-digit month", "", keys("2000-2-30"), "2000- 2-30", false);
    row("over a held date, hyphens", held, home + keys("2000-5-1"), "2000- 5- 1", true);
    row("over a held date, blanks", held, home + keys("1990 5 1"), "1990- 5- 1", true);
    row("over a held date, two-digit parts", held, home + keys("2000-05-01"), "2000-05-01", true);
    row("over a held date, digits only", held, home + keys("2000051"), "2000-05- 1", true);
    row("over the selected date", held, keys("2000-5-1"), "2000- 5- 1", true);
    row("a digit put into the day replaces that digit only", held, cursorAt(8) + keys("2"),
        "1985-12-20", true);
}

void DateEditTest::spellingsOfADate() {
    QFETCH(QString, start);
    QFETCH(QTestEventList, events);
    QFETCH(QString, text);
    QFETCH(bool, valid);

    m_box->setDateText(start);
    tab();
    events.simulate(m_box);
    tab();
    QCoreApplication::processEvents();
    QVERIFY(m_next->hasFocus());
    QCOMPARE(m_box->dateText(), text);
    QCOMPARE(isCalendarDate(text), valid);
}

// After a refused Tab the box goes on as it was: completing the date or pressing Escape, which
// brings back the text from before the typing, lets it be left.
void DateEditTest::refusedUntilCompletedOrAbandoned_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QTestEventList>("events");
    QTest::addColumn<QString>("text");

    const auto row = [](const char *name, const QString &start, const QTestEventList &events,
                        const QString &text) { QTest::newRow(name) << start << events << text; };
    row("completed", "", keys("0305"), "1980-03-05");
    row("abandoned, empty", "", key(Qt::Key_Escape), "    -  -  ");
    row("abandoned, with a date", "2001-12-31", key(Qt::Key_Escape), "2001-12-31");
}

void DateEditTest::refusedUntilCompletedOrAbandoned() {
    QFETCH(QString, start);
    QFETCH(QTestEventList, events);
    QFETCH(QString, text);

    m_box->setDateText(start);
    tab();
    QTest::keyClicks(m_box, "1980");
    tab();
    QTRY_VERIFY(m_box->hasFocus());
    events.simulate(m_box);
    QCOMPARE(m_box->dateText(), text);
    tab();
    QCoreApplication::processEvents();
    QVERIFY(m_next->hasFocus());
    QCOMPARE(m_messages->shown().size(), 1);
}

// A window that disables the box takes the focus away; that is no move of the operator's.
void DateEditTest::disablingTheBoxIsNoAttemptToLeave() {
    tab();
    QTest::keyClicks(m_box, "1980");
    m_box->setEnabled(false);
    QCoreApplication::processEvents();
    QVERIFY(m_next->hasFocus());
    QVERIFY(m_messages->shown().isEmpty());
}

// Looking at another window halfway through a date neither complains nor loses the text the
// box was entered with.
void DateEditTest::anotherWindowIsNoAttemptToLeave() {
    m_box->setDateText(QStringLiteral("2001-12-31"));
    tab();
    QTest::keyClicks(m_box, "1980");
    QVERIFY(visitAnotherWindow(m_window.get(), [] {}));
    QTRY_VERIFY(m_box->hasFocus());
    QVERIFY(m_messages->shown().isEmpty());
    QTest::keyClick(m_box, Qt::Key_Escape);
    QCOMPARE(m_box->dateText(), "2001-12-31");
}

QTEST_MAIN(DateEditTest)
#include "test_dateedit.moc"
