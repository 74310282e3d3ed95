// The main window: its look, the hover captions, the one way module windows are opened, and
// a start without a database file.
#include "bankexportdialog.h"
#include "data.h"
#include "flatbutton.h"
#include "fonts.h"
#include "mainwindow.h"
#include "moduleform.h"
#include "workspace.h"

#include <QAction>
#include <QComboBox>
#include <QEnterEvent>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {

QColor captionColour(const QLabel *label) {
    return label->palette().color(QPalette::WindowText);
}

void hover(QWidget *widget, QEvent::Type type) {
    if (type == QEvent::Enter) {
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), widget->mapToGlobal(QPointF(1, 1)));
        QApplication::sendEvent(widget, &enter);
    } else {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(widget, &leave);
    }
}

void openSomething(Query &query, const QString &table = QStringLiteral("BMZD")) {
    query.clearSql();
    query.addLine(QStringLiteral("select * from %1").arg(table));
    query.open();
}

// A module window whose creation handler reads a table, as real ones do.
class ProbeWindow : public ModuleForm {
public:
    explicit ProbeWindow(QString table)
        : ModuleForm({"部门设置", QSize(429, 304), "部  门  设  置", QPoint(140, 6), QPoint(403, 4),
                      pixelFont(FontFamily::sans, 11)}),
          m_table(std::move(table)) {}

    void FormCreate() override {
        openSomething(DM->AQ1, m_table);
        created = true;
    }

    bool created = false;

private:
    QString m_table;
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void looksAsDesigned();
    void captionsTurnRedUnderTheMouse();
    void openingAModule_data();
    void openingAModule();
    void contextMenuOpensTheBankFile();
    void startsWithoutDatabaseSilently();
    void fontNamesMapToInstalledFonts_data();
    void fontNamesMapToInstalledFonts();
};

void MainWindowTest::looksAsDesigned() {
    Workspace workspace;
    Tfrm_main window;
    QCOMPARE(window.size(), QSize(672, 485));
    QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(window.Label8->text(), QStringLiteral("Marovel工资管理信息系统"));
    QCOMPARE(window.Label8->pos(), QPoint(241, 3));
    const QLabel *image = window.findChild<QLabel *>(QStringLiteral("Image1"));
    QVERIFY(image);
    QCOMPARE(image->pixmap().size(), QSize(1024, 768));
    QCOMPARE(window.SpeedButton3->geometry(), QRect(648, 1, 20, 20));

    QStringList captions;
    for (const QLabel *label : window.captionLabels)
        captions << label->text();
    QCOMPARE(captions, (QStringList{"工资录入", "数据查询", "工 资 条", "工资统计", "部门设置",
                                    "人员设置", "项目设置"}));
    for (const FlatButton *button : window.moduleButtons) {
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        QVERIFY(!button->icon().isNull());
    }
}

void MainWindowTest::captionsTurnRedUnderTheMouse() {
    Workspace workspace;
    Tfrm_main window;
    QLabel *departments = window.findChild<QLabel *>(QStringLiteral("Label7"));
    QCOMPARE(departments->text(), QStringLiteral("部门设置"));
    QCOMPARE(captionColour(departments), QColor(Qt::black));

    hover(departments, QEvent::Enter);
    QCOMPARE(captionColour(departments), QColor(Qt::red));
    hover(departments, QEvent::Leave);
    QCOMPARE(captionColour(departments), QColor(Qt::black));

    // The icon above the caption is not the caption.
    hover(window.findChild<FlatButton *>(QStringLiteral("SpeedButton2")), QEvent::Enter);
    for (const QLabel *label : window.captionLabels)
        QCOMPARE(captionColour(label), QColor(Qt::black));
}

// Each opening runs the same sequence; a creation handler that fails is reported and the
// window still opens.
void MainWindowTest::openingAModule_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("errors");
    QTest::newRow("creation reads its data") << "BMZD" << QStringList{};
    QTest::newRow("creation fails") << "NOSUCH" << QStringList{"no such table: NOSUCH."};
}

void MainWindowTest::openingAModule() {
    QFETCH(QString, table);
    Workspace workspace;
    Tfrm_main window;
    openSomething(DM->AQ1);
    openSomething(DM->AQ2);
    openSomething(DM->AQUP);

    QPointer<ProbeWindow> opened;
    bool queriesClosedAtCreation = false;
    bool shownModally = false;
    bool createdBeforeShow = false;
    openModule([&]() -> std::unique_ptr<ModuleForm> {
        queriesClosedAtCreation = !DM->AQ1.isOpen() && !DM->AQ2.isOpen() && !DM->AQUP.isOpen();
        auto module = std::make_unique<ProbeWindow>(table);
        opened = module.get();
        QTimer::singleShot(0, module.get(), [&, m = module.get()] {
            shownModally = m->isModal() && m->isVisible();
            createdBeforeShow = m->created;
            m->SpeedButton3->click();
        });
        return module;
    });
    QVERIFY(queriesClosedAtCreation);
    QVERIFY(shownModally);
    QVERIFY2(opened.isNull(), "the module window outlived its closing");
    QStringList errors;
    for (const Messages::Shown &shown : workspace.shownMessages())
        errors << shown.text;
    QTEST(errors, "errors");
    QCOMPARE(createdBeforeShow, errors.isEmpty());
}

// The window's context menu opens the bank file as a module window, on the latest saved month.
void MainWindowTest::contextMenuOpensTheBankFile() {
    Workspace workspace;
    workspace.exec("insert into GZB (ny,ygh,xm) values ('202602',1,'张三'),('202603',1,'张三')");
    Tfrm_main window;
    QCOMPARE(window.contextMenuPolicy(), Qt::ActionsContextMenu);
    QVERIFY(window.actions().contains(window.bankFileAction));
    QCOMPARE(window.bankFileAction->text(), QStringLiteral("银行代发文件…"));

    QString month;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = dynamic_cast<BankExportDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll.stop();
        month = dialog->c_ny->currentText();
        dialog->SpeedButton3->click();
    });
    poll.start();
    window.bankFileAction->trigger();
    QCOMPARE(month, QStringLiteral("2026年3月"));
    QCOMPARE(workspace.shownMessages().size(), 0);
}

void MainWindowTest::startsWithoutDatabaseSilently() {
    Workspace workspace(Workspace::Database::None);
    Tfrm_main window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(workspace.shownMessages().size(), 0);
    QVERIFY(!QFile::exists(workspace.databasePath()));
}

void MainWindowTest::fontNamesMapToInstalledFonts_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("installed");
    QTest::newRow("song") << FontFamily::song << "AR PL UMing";
    QTest::newRow("kai") << FontFamily::kai << "AR PL UKai";
    QTest::newRow("sans") << FontFamily::sans << "Liberation Sans";
    QTest::newRow("narrow") << FontFamily::narrow << "Liberation Sans Narrow";
}

void MainWindowTest::fontNamesMapToInstalledFonts() {
    QFETCH(QString, family);
    QFETCH(QString, installed);
    installFontSubstitutes();
    const QFontInfo font(pixelFont(family, 12));
    QVERIFY2(font.family().startsWith(installed), qPrintable(font.family()));
}

QTEST_MAIN(MainWindowTest)
#include "test_main.moc"
