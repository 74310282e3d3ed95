// The window of long work, as the module windows look: its frame, its title, and the text
// with the count below the title, clear of it, for work that may be cancelled and for work
// that may not.
#include "progress.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

namespace {

QProgressDialog *progressWindow(QWidget *covered) {
    if (covered)
        return covered->findChild<QProgressDialog *>();
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *progress = qobject_cast<QProgressDialog *>(window))
            return progress;
    return nullptr;
}

} // namespace

class ProgressWindowTest : public QObject {
    Q_OBJECT
private slots:
    void framedAsTheModuleWindows_data();
    void framedAsTheModuleWindows();
};

void ProgressWindowTest::framedAsTheModuleWindows_data() {
    QTest::addColumn<bool>("cancellable");
    QTest::addColumn<QString>("work");
    QTest::addColumn<int>("total"); // 0: no count
    QTest::addColumn<QString>("text");
    QTest::newRow("report") << true << "正在生成报表…" << 3530 << "正在生成报表… 120/3530";
    QTest::newRow("uncounted") << true << "正在准备月份…" << 0 << "正在准备月份…";
    // A long name in the large title is wider than the text under it.
    QTest::newRow("start-up") << false << "正在备份并整理数据库，请稍候…" << 0
                              << "正在备份并整理数据库，请稍候…";
}

void ProgressWindowTest::framedAsTheModuleWindows() {
    QFETCH(bool, cancellable);
    QFETCH(QString, work);
    QFETCH(int, total);
    QFETCH(QString, text);
    QWidget covered;
    covered.resize(600, 400);
    covered.show();
    const std::unique_ptr<Progress> progress =
        cancellable ? std::make_unique<Progress>(&covered, work, total)
                    : std::make_unique<Progress>(work, std::chrono::milliseconds(0));
    QProgressDialog *window = progressWindow(cancellable ? &covered : nullptr);
    QVERIFY(window);
    window->show();
    progress->step(120);

    QCOMPARE(window->windowTitle(), work);
    QCOMPARE(window->labelText(), text);
    QVERIFY(window->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(window->palette().color(QPalette::Window), QColor(197, 195, 198));
    QCOMPARE(window->findChild<QWidget *>("Bevel1")->geometry(), window->rect());
    QCOMPARE(bool(window->findChild<QPushButton *>()), cancellable);

    auto *title = window->findChild<QLabel *>("Label8");
    QVERIFY(title);
    QCOMPARE(title->text(), work);
    QCOMPARE(title->font().pixelSize(), 19);
    QVERIFY(title->font().bold());
    // Centred, whole, and above the text with the count, which stays above the bar.
    QVERIFY(title->x() > 0 && title->geometry().right() < window->width() - 1);
    QVERIFY(qAbs(title->x() + title->width() / 2 - window->width() / 2) <= 1);
    QLabel *label = nullptr;
    for (QLabel *candidate : window->findChildren<QLabel *>())
        if (candidate->text() == text)
            label = candidate;
    QVERIFY(label);
    const QRect textRect =
        QRect(label->mapTo(window, label->contentsRect().topLeft()), label->contentsRect().size());
    const int textTop =
        textRect.center().y() - label->fontMetrics().height() / 2; // centred in its room
    QVERIFY2(textTop > title->geometry().bottom(),
             qPrintable(QStringLiteral("text at %1, title to %2")
                            .arg(textTop)
                            .arg(title->geometry().bottom())));
    QVERIFY(textRect.bottom() < window->findChild<QProgressBar *>()->y());
    QVERIFY(label->fontMetrics().horizontalAdvance(text) <= textRect.width());
}

QTEST_MAIN(ProgressWindowTest)
#include "test_progresswindow.moc"
