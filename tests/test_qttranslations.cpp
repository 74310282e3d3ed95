// The toolkit's standard dialogs read in Chinese once the program has installed the toolkit's
// own translations, as it does at start-up.
#include "qttranslations.h"
#include "savefiledialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

class QtTranslationsTest : public QObject {
    Q_OBJECT
private slots:
    void standardDialogsReadInChinese();
    void saveDialogShowsItsColumnsWhole();
};

namespace {

bool hasChinese(const QString &text) {
    return std::any_of(text.cbegin(), text.cend(),
                       [](QChar c) { return c.unicode() >= 0x4e00 && c.unicode() <= 0x9fff; });
}

} // namespace

void QtTranslationsTest::standardDialogsReadInChinese() {
    QVERIFY(installQtTranslations());

    // The texts behind the export buttons' file dialog, its buttons, and the print preview.
    const std::pair<const char *, const char *> texts[] = {
        {"QFileDialog", "Look in:"},          {"QFileDialog", "File &name:"},
        {"QPlatformTheme", "Save"},           {"QPlatformTheme", "Cancel"},
        {"QPrintPreviewDialog", "Next page"}, {"QPrintPreviewDialog", "Print"},
    };
    for (const auto &[context, english] : texts) {
        const QString shown = QCoreApplication::translate(context, english);
        QVERIFY2(hasChinese(shown), qPrintable(QStringLiteral("%1: %2").arg(english, shown)));
    }

    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const auto *lookIn = dialog.findChild<QLabel *>(QStringLiteral("lookInLabel"));
    QVERIFY(lookIn);
    QVERIFY2(hasChinese(lookIn->text()), qPrintable(lookIn->text()));
}

// The export's file dialog in its detail view: file types in Chinese, and every column at
// least as wide as what it shows.
void QtTranslationsTest::saveDialogShowsItsColumnsWhole() {
    QVERIFY(installQtTranslations());
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("二〇二六年报表")));
    QFile report(folder.filePath(QStringLiteral("工资条_202611.pdf")));
    QVERIFY(report.open(QIODevice::WriteOnly) && report.write(QByteArray(54321, 'x')) == 54321);
    report.close();

    QStringList types;
    QStringList cut;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        dialog->setViewMode(QFileDialog::Detail);
        auto *details = dialog->findChild<QTreeView *>(QStringLiteral("treeView"));
        const QAbstractItemModel *files = details ? details->model() : nullptr;
        const QModelIndex root = details ? details->rootIndex() : QModelIndex();
        if (!files || files->rowCount(root) < 2 || !details->isVisible())
            return; // the folder is still being read
        poll.stop();
        for (int row = 0; row < files->rowCount(root); ++row) {
            types << files->index(row, 2, root).data().toString();
            for (int column = 0; column < files->columnCount(root); ++column) {
                const QModelIndex cell = files->index(row, column, root);
                const int needed = details->sizeHintForIndex(cell).width();
                if (!details->isColumnHidden(column) && details->columnWidth(column) < needed)
                    cut << cell.data().toString();
            }
        }
        dialog->reject();
    });
    poll.start();
    QCOMPARE(askSaveFileName(nullptr, QStringLiteral("导出PDF"),
                             folder.filePath(QStringLiteral("工资条_202612.pdf")),
                             QStringLiteral("PDF 文件 (*.pdf)")),
             QString());
    types.sort();
    QCOMPARE(types, (QStringList{QStringLiteral("PDF 文件"), QStringLiteral("文件夹")}));
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral(", "))));
}

QTEST_MAIN(QtTranslationsTest)
#include "test_qttranslations.moc"
