// The main window's buttons for departments, employees and salary items open their windows.
#include "flatbutton.h"
#include "mainwindow.h"
#include "moduleform.h"
#include "workspace.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

class RefModulesTest : public QObject {
    Q_OBJECT
private slots:
    void buttonOpensItsWindow_data();
    void buttonOpensItsWindow();
};

void RefModulesTest::buttonOpensItsWindow_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("window");
    QTest::newRow("departments") << "SpeedButton2"
                                 << "frm_bmsz";
    QTest::newRow("employees") << "SpeedButton7"
                               << "frm_ygsz";
    QTest::newRow("salary items") << "SpeedButton6"
                                  << "frm_xmsz";
}

void RefModulesTest::buttonOpensItsWindow() {
    QFETCH(QString, button);
    Workspace workspace;
    Tfrm_main main;
    main.show();
    QString opened;
    QTimer::singleShot(0, &main, [&] {
        auto *module = qobject_cast<ModuleForm *>(QApplication::activeModalWidget());
        if (!module)
            return;
        opened = module->objectName();
        module->SpeedButton3->click();
    });
    QTest::mouseClick(main.findChild<QWidget *>(button), Qt::LeftButton);
    QTEST(opened, "window");
    QVERIFY(workspace.shownTexts().isEmpty());
}

QTEST_MAIN(RefModulesTest)
#include "test_refmodules.moc"
