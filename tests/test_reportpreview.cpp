// The report preview as the operator works it: its toolbar and keys turn and zoom the pages,
// which are drawn as they come into sight; long work can be cancelled, and a cancelled or failed
// save or print to a file leaves no file behind and an older file of that name as it was.
#include "filesizelimit.h"
#include "fonts.h"
#include "gzt.h"
#include "modulerun.h"
#include "pdftext.h"
#include "previewdriver.h"
#include "printdialoganswer.h"
#include "spinedit.h"
#include "workspace.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

// `count` slips of November 2026: twelve to a page.
void addSlips(Workspace &workspace, int count) {
    workspace.exec("insert into GZXMZD (mc,S_JC,S_FK) values ('基本工资',1,'0'),('个税',0,'1')");
    workspace.exec(QStringLiteral("with recursive n(i) as (select 1 union all select i+1 from n "
                                  "where i < %1) insert into GZB (ny,ygh,xm,bmmc,f1,k1) "
                                  "select '202611', i, '王志强', '财务科', 50000000, 4000000 "
                                  "from n")
                       .arg(count));
}

// The pay slip window asks for November 2026; `before` runs just before its print button.
void previewSlips(const std::function<void(Tfrm_gzt &)> &before = {}) {
    runModule<Tfrm_gzt>([&](Tfrm_gzt &window) {
        window.e_n->setValue(2026);
        window.e_y->setValue(11);
        if (before)
            before(window);
        window.SpeedButton8->click();
    });
}

void trigger(PreviewDialog &preview, const QString &action) {
    QAction *found = preview.findChild<QAction *>(action);
    QVERIFY2(found, qPrintable(action));
    found->trigger();
}

// A dialog counts as active while its parent window is: it is the keyboard's once it is the
// application's active window.
bool takesTheKeys(QWidget &dialog) {
    return QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; });
}

// The tool bar's own button at its end, behind which waits what it has no room for.
QWidget *overflowButton(QToolBar &toolBar) {
    const QList<QAction *> actions = toolBar.actions();
    for (QToolButton *button : toolBar.findChildren<QToolButton *>())
        if (std::none_of(actions.begin(), actions.end(), [&](QAction *action) {
                return toolBar.widgetForAction(action) == button;
            }))
            return button;
    return nullptr;
}

// Presses `key` where the focus is, as on the keyboard.
void press(QKeyCombination key) {
    QWidget *focused = QApplication::focusWidget();
    QVERIFY(focused);
    QTest::keyClick(focused, key.key(), key.keyboardModifiers());
}

// Dark dots in the view: the boxes and texts of the pages in sight, and the pages' shadows.
int inkOnPaper(PageView &view) {
    const QImage shot = view.viewport()->grab().toImage();
    int ink = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            ink += qGray(shot.pixel(x, y)) < 64;
    return ink;
}

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &data) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(data), data.size());
}

const QByteArray oldFile = "the report saved last month";

// Runs this program as the clerk's program that printingKilledLeavesTheOlderFile kills.
constexpr char printUntilKilledOption[] = "--print-until-killed";

} // namespace

class ReportPreviewTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutes(); }
    void toolbarTurnsThePages_data();
    void toolbarTurnsThePages();
    void zoomKeepsThePageInSight();
    void keysWorkThePreview_data();
    void keysWorkThePreview();
    void buttonsAreReachedByTabAndNameTheirKeys();
    void pagesAreDrawnWhereTheyComeIntoSight();
    void cancelledLayoutShowsNoPreview();
    void cancelledSaveLeavesNoFile_data();
    void cancelledSaveLeavesNoFile();
    void failedPdfLeavesNoFile_data();
    void failedPdfLeavesNoFile();
    void printingToAFileReplacesItOnlyWhole_data();
    void printingToAFileReplacesItOnlyWhole();
    void printingKilledLeavesTheOlderFile();
};

void ReportPreviewTest::toolbarTurnsThePages_data() {
    QTest::addColumn<QStringList>("actions"); // toolbar actions; a number is typed as the page
    QTest::addColumn<int>("page");
    QTest::newRow("opens on the first") << QStringList{} << 1;
    QTest::newRow("next") << QStringList{"nextPage"} << 2;
    QTest::newRow("last") << QStringList{"lastPage"} << 3;
    QTest::newRow("back from the last") << QStringList{"lastPage", "previousPage"} << 2;
    QTest::newRow("first from the last") << QStringList{"lastPage", "firstPage"} << 1;
    QTest::newRow("none before the first") << QStringList{"previousPage"} << 1;
    QTest::newRow("none after the last")
        << QStringList{"nextPage", "nextPage", "nextPage", "nextPage"} << 3;
    QTest::newRow("a page typed") << QStringList{"3"} << 3;
    QTest::newRow("a page beyond the last typed") << QStringList{"9"} << 3;
    QTest::newRow("zoomed after turning") << QStringList{"lastPage", "zoomIn", "fitPage"} << 3;
}

void ReportPreviewTest::toolbarTurnsThePages() {
    QFETCH(QStringList, actions);
    QFETCH(int, page);
    Workspace workspace;
    addSlips(workspace, 25);
    int pages = 0;
    int current = 0;
    QString shownNumber;
    PreviewDriver driver([&](PreviewDialog &preview) {
        pages = PreviewDriver::pageCount(preview);
        auto *number = preview.findChild<QLineEdit *>("pageNumber");
        for (const QString &action : actions) {
            bool typed = false;
            action.toInt(&typed);
            if (!typed) {
                trigger(preview, action);
                continue;
            }
            number->setText(action);
            emit number->editingFinished();
        }
        current = preview.pages().currentPage();
        shownNumber = number->text();
    });
    previewSlips();
    QCOMPARE(driver.shown(), 1);
    QCOMPARE(pages, 3);
    QCOMPARE(current, page);
    QCOMPARE(shownNumber, QString::number(page));
}

void ReportPreviewTest::zoomKeepsThePageInSight() {
    Workspace workspace;
    addSlips(workspace, 25);
    PreviewDriver driver([&](PreviewDialog &preview) {
        PageView &view = preview.pages();
        const double fitted = view.zoomFactor();
        trigger(preview, "zoomIn");
        QCOMPARE(view.zoomFactor(), fitted * 1.25);
        QCOMPARE(preview.findChild<QComboBox *>("zoom")->currentText(),
                 QString::number(qRound(fitted * 1250) / 10.0) + '%');
        trigger(preview, "zoomOut");
        QCOMPARE(view.zoomFactor(), fitted);
        trigger(preview, "fitPage");
        const double paperHeight = 794.0 * view.logicalDpiY() / 96 * view.zoomFactor();
        QVERIFY(paperHeight <= view.viewport()->height());
        trigger(preview, "fitWidth");
        QCOMPARE(view.zoomFactor(), fitted);
    });
    previewSlips();
    QCOMPARE(driver.shown(), 1);
}

void ReportPreviewTest::keysWorkThePreview_data() {
    QTest::addColumn<QKeySequence>("keys"); // pressed one after another
    QTest::addColumn<int>("page");
    QTest::addColumn<double>("zoom"); // of the zoom the preview opened with
    QTest::addColumn<bool>("printDialog");
    const QKeyCombination keypadPlus(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Plus);
    QTest::newRow("End: the last page") << QKeySequence(Qt::Key_End) << 3 << 1.0 << false;
    QTest::newRow("Home: the first page")
        << QKeySequence(Qt::Key_End, Qt::Key_Home) << 1 << 1.0 << false;
    QTest::newRow("PageDown: the next page") << QKeySequence(Qt::Key_PageDown) << 2 << 1.0 << false;
    QTest::newRow("PageUp: the previous page")
        << QKeySequence(Qt::Key_End, Qt::Key_PageUp) << 2 << 1.0 << false;
    QTest::newRow("Ctrl+plus zooms in")
        << QKeySequence(Qt::CTRL | Qt::Key_Plus) << 1 << 1.25 << false;
    QTest::newRow("Ctrl+= zooms in")
        << QKeySequence(Qt::CTRL | Qt::Key_Equal) << 1 << 1.25 << false;
    QTest::newRow("Ctrl+plus of the keypad zooms in")
        << QKeySequence(keypadPlus) << 1 << 1.25 << false;
    QTest::newRow("Ctrl+minus zooms out")
        << QKeySequence(Qt::CTRL | Qt::Key_Minus) << 1 << 0.8 << false;
    QTest::newRow("Ctrl+P opens the print dialog")
        << QKeySequence(Qt::CTRL | Qt::Key_P) << 1 << 1.0 << true;
    QTest::newRow("End with the focus on a tool button")
        << QKeySequence(Qt::Key_Tab, Qt::Key_End) << 3 << 1.0 << false;
}

void ReportPreviewTest::keysWorkThePreview() {
    QFETCH(QKeySequence, keys);
    QFETCH(int, page);
    QFETCH(double, zoom);
    QFETCH(bool, printDialog);
    Workspace workspace;
    addSlips(workspace, 25);
    int current = 0;
    double zoomed = 0;
    bool printDialogShown = false;
    PreviewDriver driver([&](PreviewDialog &preview) {
        QVERIFY(takesTheKeys(preview));
        const double opened = preview.pages().zoomFactor();
        printDialogShown = cancelPrintDialog([&] {
            for (int i = 0; i < keys.count(); ++i)
                press(keys[i]);
        });
        current = preview.pages().currentPage();
        zoomed = preview.pages().zoomFactor() / opened;
    });
    previewSlips();
    QCOMPARE(driver.shown(), 1);
    QCOMPARE(current, page);
    QCOMPARE(zoomed, zoom);
    QCOMPARE(printDialogShown, printDialog);
    QVERIFY(workspace.shownTexts().isEmpty()); // a print dialog cancelled prints nothing
}

// Tab goes round every button and box of the tool bar and back to the pages, a button with
// the focus shows it and is pressed by Space, and every button that has a key names it in its
// tooltip.
void ReportPreviewTest::buttonsAreReachedByTabAndNameTheirKeys() {
    const QHash<QString, QString> keyed = {
        {"zoomIn", "放大 (Ctrl++)"},     {"zoomOut", "缩小 (Ctrl+-)"},
        {"firstPage", "第一页 (Home)"},  {"previousPage", "上一页 (PgUp)"},
        {"nextPage", "下一页 (PgDown)"}, {"lastPage", "最后一页 (End)"},
        {"print", "打印 (Ctrl+P)"},
    };
    Workspace workspace;
    addSlips(workspace, 25);
    PreviewDriver driver([&](PreviewDialog &preview) {
        QVERIFY(takesTheKeys(preview));
        QWidget *pages = QApplication::focusWidget();
        QCOMPARE(pages, &preview.pages());
        auto *toolBar = preview.findChild<QToolBar *>();
        QVERIFY(toolBar);
        const QWidget *printButton =
            toolBar->widgetForAction(preview.findChild<QAction *>(QStringLiteral("print")));
        bool printDialogBySpace = false;
        QHash<QWidget *, QImage> focusedLook;
        for (int tabs = 0; tabs < 50; ++tabs) {
            press(Qt::Key_Tab);
            QWidget *focused = QApplication::focusWidget();
            if (focused == pages)
                break;
            focusedLook.insert(focused, focused->grab().toImage());
            if (focused == printButton) {
                printDialogBySpace = cancelPrintDialog([] { press(Qt::Key_Space); });
                // Where a window manager would give the keys back to the preview, the test
                // platform leaves them with no window.
                preview.activateWindow();
                QVERIFY(takesTheKeys(preview));
                QCOMPARE(QApplication::focusWidget(), focused);
            }
        }
        QCOMPARE(QApplication::focusWidget(), pages);
        QVERIFY(printDialogBySpace); // a button reached by Tab is pressed by Space
        QStringList keysNamed;
        for (QAction *action : toolBar->actions()) {
            QWidget *widget = toolBar->widgetForAction(action);
            if (action->isSeparator() || qobject_cast<QLabel *>(widget))
                continue;
            if (qobject_cast<QToolButton *>(widget)) {
                QCOMPARE(action->toolTip(), keyed.value(action->objectName(), action->text()));
                if (keyed.contains(action->objectName()))
                    keysNamed << action->objectName();
            }
            if (!widget->isVisible()) // no room for it on the tool bar
                widget = overflowButton(*toolBar);
            QVERIFY2(focusedLook.contains(widget), qPrintable(action->objectName()));
            if (qobject_cast<QToolButton *>(widget))
                QVERIFY2(focusedLook.value(widget) != widget->grab().toImage(),
                         qPrintable(action->objectName()));
        }
        QCOMPARE(keysNamed.size(), keyed.size());
    });
    previewSlips();
    QCOMPARE(driver.shown(), 1);
}

void ReportPreviewTest::pagesAreDrawnWhereTheyComeIntoSight() {
    Workspace workspace;
    addSlips(workspace, 25); // the last page holds one slip, the first twelve
    int firstInk = 0;
    int lastInk = 0;
    PreviewDriver driver([&](PreviewDialog &preview) {
        trigger(preview, "fitPage");
        firstInk = inkOnPaper(preview.pages());
        trigger(preview, "lastPage");
        lastInk = inkOnPaper(preview.pages());
    });
    previewSlips();
    QVERIFY(lastInk > 100);
    QVERIFY2(firstInk > 2 * lastInk,
             qPrintable(QStringLiteral("%1 %2").arg(firstInk).arg(lastInk)));
}

void ReportPreviewTest::cancelledLayoutShowsNoPreview() {
    Workspace workspace;
    addSlips(workspace, 25);
    PreviewDriver driver;
    runModule<Tfrm_gzt>([&](Tfrm_gzt &window) {
        window.e_n->setValue(2026);
        window.e_y->setValue(11);
        cancelProgressOf(&window);
        window.SpeedButton8->click();
        QCOMPARE(driver.shown(), 0);
        window.SpeedButton8->click(); // the window goes on as before
        QCOMPARE(driver.shown(), 1);
    });
    QVERIFY(workspace.shownTexts().isEmpty());
}

void ReportPreviewTest::cancelledSaveLeavesNoFile_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("existing");
    QTest::newRow("PDF") << "导出PDF" << false;
    QTest::newRow("PDF over an older file") << "导出PDF" << true;
    QTest::newRow("spreadsheet") << "导出Excel" << false;
    QTest::newRow("spreadsheet over an older file") << "导出Excel" << true;
}

void ReportPreviewTest::cancelledSaveLeavesNoFile() {
    QFETCH(QString, action);
    QFETCH(bool, existing);
    Workspace workspace;
    addSlips(workspace, 40);
    const QDir folder(workspace.path());
    const QString path = folder.filePath(action == "导出PDF" ? "工资条.pdf" : "工资条.xlsx");
    if (existing)
        writeFile(path, oldFile);
    const QStringList before = folder.entryList(QDir::AllEntries | QDir::Hidden);
    PreviewDriver driver([&](PreviewDialog &preview) {
        PreviewDriver::save(preview, action, path, PreviewDriver::Then::Cancel);
        QVERIFY(!preview.findChild<QProgressDialog *>()); // over when the action returns
    });
    previewSlips();
    QCOMPARE(driver.shown(), 1);
    QVERIFY(workspace.shownTexts().isEmpty()); // a cancellation is no failure
    QCOMPARE(folder.entryList(QDir::AllEntries | QDir::Hidden), before);
    QCOMPARE(contents(path), existing ? oldFile : QByteArray());
}

void ReportPreviewTest::failedPdfLeavesNoFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("diskFull");
    QTest::addColumn<bool>("existing");
    QTest::newRow("missing folder") << "no such folder/工资条.pdf" << false << false;
    QTest::newRow("folder is a plain file") << "GZDB.mdb/工资条.pdf" << false << false;
    QTest::newRow("disk full while writing") << "工资条.pdf" << true << false;
    QTest::newRow("disk full over an older file") << "工资条.pdf" << true << true;
}

void ReportPreviewTest::failedPdfLeavesNoFile() {
    QFETCH(QString, name);
    QFETCH(bool, diskFull);
    QFETCH(bool, existing);
    Workspace workspace;
    addSlips(workspace, 40);
    const QDir folder(workspace.path());
    const QString path = folder.filePath(name);
    if (existing)
        writeFile(path, oldFile);
    const QStringList before = folder.entryList(QDir::AllEntries | QDir::Hidden);
    {
        PreviewDriver driver([&](PreviewDialog &preview) {
            // Four pages of slips take far more: the file is started, never finished.
            const std::optional<FileSizeLimit> limit =
                diskFull ? std::make_optional<FileSizeLimit>(4096) : std::nullopt;
            PreviewDriver::save(preview, "导出PDF", path);
        });
        previewSlips();
    }
    QCOMPARE(workspace.shownMessages().size(), 1);
    QCOMPARE(workspace.shownMessages().first().kind, Messages::Kind::Error);
    const QString message = workspace.shownTexts().first();
    QVERIFY2(message.startsWith(path + QStringLiteral(": 文件没有保存。\n（")),
             qPrintable(message));
    QCOMPARE(folder.entryList(QDir::AllEntries | QDir::Hidden), before);
    QCOMPARE(contents(path), existing ? oldFile : QByteArray());

    // The same pages save whole once the disk has room.
    if (diskFull) {
        PreviewDriver again(
            [&](PreviewDialog &preview) { PreviewDriver::save(preview, "导出PDF", path); });
        previewSlips();
        QCOMPARE(pdfText(path).count("基本工资"), 40);
    }
}

void ReportPreviewTest::printingToAFileReplacesItOnlyWhole_data() {
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<bool>("existing");
    QTest::newRow("printed") << false << false;
    QTest::newRow("printed over an older file") << false << true;
    QTest::newRow("cancelled") << true << false;
    QTest::newRow("cancelled over an older file") << true << true;
}

void ReportPreviewTest::printingToAFileReplacesItOnlyWhole() {
    QFETCH(bool, cancelled);
    QFETCH(bool, existing);
    Workspace workspace;
    addSlips(workspace, 40);
    const QDir folder(workspace.path());
    const QString path = folder.filePath("工资条.pdf");
    if (existing)
        writeFile(path, oldFile);
    QStringList expected = folder.entryList(QDir::AllEntries | QDir::Hidden);
    PreviewDriver driver([&](PreviewDialog &preview) {
        if (cancelled)
            cancelProgressOf(&preview);
        answerPrintDialog([&] { trigger(preview, "print"); }, path);
    });
    previewSlips();
    QCOMPARE(driver.shown(), 1);
    QVERIFY(workspace.shownTexts().isEmpty());
    if (cancelled) {
        QCOMPARE(contents(path), existing ? oldFile : QByteArray());
    } else {
        QCOMPARE(pdfText(path).count("基本工资"), 40);
        expected << QStringLiteral("工资条.pdf");
        expected.removeDuplicates();
        expected.sort();
    }
    QCOMPARE(folder.entryList(QDir::AllEntries | QDir::Hidden), expected);
}

// The clerk's program is killed while it writes the pages: the file printed last month is
// still there, whole, and nothing under its name or any other a clerk would open.
void ReportPreviewTest::printingKilledLeavesTheOlderFile() {
    Workspace workspace;
    const QDir folder(workspace.path());
    const QString path = folder.filePath("工资条.pdf");
    writeFile(path, oldFile);
    // The killed program's own working folder, which it cannot remove.
    QVERIFY(folder.mkdir("killed"));
    const QStringList before = folder.entryList(QDir::AllEntries | QDir::Hidden);

    QProcess clerk;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", folder.filePath("killed"));
    clerk.setProcessEnvironment(environment);
    clerk.start(QCoreApplication::applicationFilePath(), {printUntilKilledOption, path});
    // A limit for a program that went wrong, not a wait for the printing.
    QVERIFY2(clerk.waitForReadyRead(120000), clerk.readAllStandardError().constData());
    QCOMPARE(clerk.readLine(), QByteArray("printing\n"));
    clerk.kill();
    QVERIFY(clerk.waitForFinished());

    QCOMPARE(contents(path), oldFile);
    for (const QString &name : folder.entryList(QDir::AllEntries | QDir::Hidden))
        QVERIFY2(before.contains(name) || name.startsWith(QLatin1Char('.')), qPrintable(name));
}

namespace {

// The killed program of printingKilledLeavesTheOlderFile: prints the slips to `path`, says so
// on its output once the first page is written, and stops there for good.
int printUntilKilled(const QString &path) {
    installFontSubstitutes();
    Workspace workspace;
    addSlips(workspace, 40);
    PreviewDriver driver([&](PreviewDialog &preview) {
        actOnProgressOf(&preview, [](QProgressDialog &) {
            std::fputs("printing\n", stdout);
            std::fflush(stdout);
            for (;;)
                ::pause();
        });
        answerPrintDialog([&] { trigger(preview, "print"); }, path);
    });
    previewSlips();
    return 1; // printing never began
}

} // namespace

// The tests, or with its option the killed clerk's program of one of them.
int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    application.setAttribute(Qt::AA_Use96Dpi, true);
    if (argc == 3 && qstrcmp(argv[1], printUntilKilledOption) == 0)
        return printUntilKilled(QString::fromLocal8Bit(argv[2]));
    ReportPreviewTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_reportpreview.moc"
