// The toolkit's standard dialogs read in Chinese once the program has installed the toolkit's
// own translations, as it does at start-up.
#include "qttranslations.h"

#include <QFileDialog>
#include <QLabel>
#include <QTest>

class QtTranslationsTest : public QObject {
    Q_OBJECT
private slots:
    void standardDialogsReadInChinese();
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

QTEST_MAIN(QtTranslationsTest)
#include "test_qttranslations.moc"
