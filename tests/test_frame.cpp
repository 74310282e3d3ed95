// The frame shared by module windows, on a small window built only from the shared pieces:
// its look, Enter moving through the fields, closing, and the error box of a failed handler.
#include "bevel.h"
#include "dberror.h"
#include "flatbutton.h"
#include "fonts.h"
#include "guard.h"
#include "moduleform.h"
#include "modulerun.h"
#include "workspace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

FrameLayout demoLayout(FrameLayout::Bevel2 bevel2 = FrameLayout::Bevel2::Rule) {
    return {"部门设置",       QSize(429, 304),
            "部  门  设  置", QPoint(140, 6),
            QPoint(403, 4),   pixelFont(FontFamily::sans, 11),
            bevel2,           bevel2 == FrameLayout::Bevel2::Band ? 58 : 2};
}

// A module window with three edit boxes in tab order.
class DemoWindow : public ModuleForm {
public:
    DemoWindow() : ModuleForm(demoLayout()) {
        for (int i = 0; i < 3; ++i) {
            auto *edit = new QLineEdit(this);
            edit->setGeometry(20, 40 + 30 * i, 100, 21);
            edits << edit;
            connect(edit, &QLineEdit::returnPressed, this, [this] { ++returnsSeen; });
        }
    }
    QList<QLineEdit *> edits;
    int returnsSeen = 0;
    int functionKeysSeen = 0;
    int otherKeysSeen = 0;

protected:
    bool FormKeyDown(QKeyEvent *event) override {
        if (event->key() != Qt::Key_F1) {
            otherKeysSeen += event->key() == Qt::Key_F2;
            return false;
        }
        ++functionKeysSeen;
        return true;
    }
};

// A window that writes down which of its handlers ran, where the record outlives it.
class LoggingWindow : public DemoWindow {
public:
    explicit LoggingWindow(QStringList *log) : m_log(log) {}
    void FormCreate() override { *m_log << "create"; }
    void FormActivate() override { *m_log << "activate"; }
    void FormClose() override { *m_log << "close"; }

private:
    QStringList *m_log;
};

} // namespace

class FrameTest : public QObject {
    Q_OBJECT
private slots:
    void looksAsLaidOut_data();
    void looksAsLaidOut();
    void keysReachTheWindowFirst();
    void focusedControlsShowIt_data();
    void focusedControlsShowIt();
    void closesOnlyThroughItsCloseButton();
    void openingRunsTheHandlersInOrder();
    void failedHandlerShowsTheErrorBox_data();
    void failedHandlerShowsTheErrorBox();
};

void FrameTest::looksAsLaidOut_data() {
    QTest::addColumn<int>("bevel2");
    QTest::addColumn<QSize>("bevel2Size");
    QTest::addColumn<int>("titleSize");
    QTest::addColumn<int>("barTop"); // the title's glyphs end above it
    QTest::newRow("rule") << int(FrameLayout::Bevel2::Rule) << QSize(429, 2) << 19 << 25;
    QTest::newRow("band") << int(FrameLayout::Bevel2::Band) << QSize(429, 58) << 19 << 25;
    // The entry window's tool bar starts at 24, a pixel higher.
    QTest::newRow("none") << int(FrameLayout::Bevel2::None) << QSize() << 19 << 24;
}

void FrameTest::looksAsLaidOut() {
    QFETCH(int, bevel2);
    QFETCH(QSize, bevel2Size);
    QFETCH(int, titleSize);
    QFETCH(int, barTop);
    ModuleForm window(demoLayout(FrameLayout::Bevel2(bevel2)));
    QCOMPARE(window.size(), QSize(429, 304));
    QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(window.isModal());
    QCOMPARE(window.palette().color(QPalette::Window), QColor(197, 195, 198));
    QCOMPARE(window.Label8->text(), QStringLiteral("部  门  设  置"));
    QCOMPARE(window.Label8->pos(), QPoint(140, 6));
    QCOMPARE(window.Label8->font().pixelSize(), titleSize);
    QVERIFY(window.Label8->font().bold());
    // Every glyph whole: the title's ink starts at its place and ends above the bar.
    const QImage image = window.grab().toImage();
    int firstInk = -1;
    int lastInk = -1;
    for (int y = 0; y < barTop + 4; ++y)
        for (int x = 140; x < 140 + window.Label8->width(); ++x)
            if (qGray(image.pixel(x, y)) < 80) {
                firstInk = firstInk < 0 ? y : firstInk;
                lastInk = y;
            }
    QVERIFY2(firstInk >= 6 && lastInk < barTop && lastInk - firstInk > 12,
             qPrintable(QStringLiteral("ink %1..%2").arg(firstInk).arg(lastInk)));
    QCOMPARE(window.SpeedButton3->geometry(), QRect(403, 4, 20, 20));
    QCOMPARE(window.SpeedButton3->focusPolicy(), Qt::NoFocus);
    QCOMPARE(window.font().pixelSize(), 11);
    if (bevel2Size.isValid()) {
        QVERIFY(window.Bevel2);
        QCOMPARE(window.Bevel2->size(), bevel2Size);
        QCOMPARE(window.Bevel2->y(), 25);
    } else {
        QVERIFY(!window.Bevel2);
    }
}

// A control the operator's Enter moved to shows that it has the focus, whatever its kind.
void FrameTest::focusedControlsShowIt_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("combo box") << "combo";
    QTest::newRow("check box") << "check";
    QTest::newRow("radio button") << "radio";
}

void FrameTest::focusedControlsShowIt() {
    QFETCH(QString, kind);
    DemoWindow window;
    QWidget *control =
        kind == "combo" ? static_cast<QWidget *>(new QComboBox(&window))
        : kind == "check"
            ? static_cast<QWidget *>(new QCheckBox(QStringLiteral("是否结转"), &window))
            : new QRadioButton(QStringLiteral("收入项目"), &window);
    if (auto *combo = qobject_cast<QComboBox *>(control))
        combo->addItems({QStringLiteral("手工录入"), QStringLiteral("按比例计算")});
    control->setGeometry(20, 140, 120, 21);
    QWidget::setTabOrder(window.edits[0], control);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.edits[0]->setFocus();
    const QImage unfocused = control->grab().toImage();
    QTest::keyClick(window.edits[0], Qt::Key_Return);
    QVERIFY(control->hasFocus());
    QVERIFY(control->grab().toImage() != unfocused);
}

void FrameTest::keysReachTheWindowFirst() {
    DemoWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.edits[0]->setFocus();
    QTest::keyClick(window.edits[0], Qt::Key_Return);
    QVERIFY(window.edits[1]->hasFocus());
    QTest::keyClick(window.edits[1], Qt::Key_Enter);
    QVERIFY(window.edits[2]->hasFocus());
    QTest::keyClick(window.edits[2], Qt::Key_Return);
    QVERIFY2(window.edits[0]->hasFocus(), "Enter on the last field goes back to the first");
    QCOMPARE(window.returnsSeen, 0);

    QTest::keyClicks(window.edits[0], "ab");
    QCOMPARE(window.edits[0]->text(), QStringLiteral("ab"));

    // The window sees keys first, wherever the focus is, and each press once, also a key
    // that the focused control would hand on to its parents.
    window.edits[2]->setFocus();
    QTest::keyClick(window.edits[2], Qt::Key_F1, Qt::ShiftModifier);
    window.edits[0]->setFocus();
    QTest::keyClick(window.edits[0], Qt::Key_F1);
    QTest::keyClick(window.edits[0], Qt::Key_F2);
    QCOMPARE(window.functionKeysSeen, 2);
    QCOMPARE(window.otherKeysSeen, 1);
}

void FrameTest::closesOnlyThroughItsCloseButton() {
    DemoWindow window;
    bool stillOpenAfterEscape = false;
    QTimer::singleShot(0, &window, [&] {
        QTest::keyClick(window.edits[0], Qt::Key_Escape);
        stillOpenAfterEscape = window.isVisible();
        QTest::mouseClick(window.SpeedButton3, Qt::LeftButton);
    });
    window.exec();
    QVERIFY(stillOpenAfterEscape);
    QVERIFY(!window.isVisible());
}

void FrameTest::openingRunsTheHandlersInOrder() {
    Workspace workspace;
    QStringList log;
    QStringList whileShown;
    runModule<LoggingWindow>([&](LoggingWindow &) { whileShown = log; }, &log);
    QCOMPARE(whileShown, (QStringList{"create", "activate"}));
    QCOMPARE(log, (QStringList{"create", "activate", "close"}));
}

void FrameTest::failedHandlerShowsTheErrorBox_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter gets a full stop") << "no such table: GZB"
                                             << "no such table: GZB.";
    QTest::newRow("digit gets a full stop") << "error 5"
                                            << "error 5.";
    QTest::newRow("Chinese gets a full stop") << "数据库错误"
                                              << "数据库错误.";
    QTest::newRow("full stop stays single") << "Invalid value."
                                            << "Invalid value.";
    QTest::newRow("Chinese exclamation mark stays single") << "GZDB.mdb 不是本系统的数据库文件！"
                                                           << "GZDB.mdb 不是本系统的数据库文件！";
    QTest::newRow("engine's words in brackets get no stop") << "磁盘已满。\n（disk is full）"
                                                            << "磁盘已满。\n（disk is full）";
    QTest::newRow("closing bracket sorts before the stop") << "bad value (x)"
                                                           << "bad value (x)";
    QTest::newRow("empty text") << ""
                                << "";
}

void FrameTest::failedHandlerShowsTheErrorBox() {
    QFETCH(QString, message);
    Workspace workspace;
    bool reachedAfterFailure = false;
    guarded([&] {
        throw DbError(message);
        reachedAfterFailure = true;
    });
    QVERIFY(!reachedAfterFailure);
    QCOMPARE(workspace.shownMessages().size(), 1);
    const Messages::Shown &box = workspace.shownMessages().first();
    QCOMPARE(int(box.kind), int(Messages::Kind::Error));
    QCOMPARE(box.title, QStringLiteral("Marovel工资管理信息系统"));
    QTEST(box.text, "shown");
}

QTEST_MAIN(FrameTest)
#include "test_frame.moc"
