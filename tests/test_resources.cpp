#include "flatbutton.h"

#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QTest>

// Reads every picture the way the program does, from the resource library, so that one left
// out of it, a damaged file or a Qt missing its JPEG plugin fails here instead of showing as
// an empty window.
class TestResources : public QObject {
    Q_OBJECT

private slots:
    void picturesLoad_data();
    void picturesLoad();
};

void TestResources::picturesLoad_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("transparent");

    const QByteArray png("png");
    QTest::newRow("background") << ":/images/background.jpg" << QByteArray("jpeg")
                                << QSize(1024, 768) << false;
    QTest::newRow("close") << ":/icons/close.png" << png << QSize(18, 17) << true;
    QTest::newRow("entry") << ":/icons/entry.png" << png << QSize(32, 32) << true;
    QTest::newRow("query") << ":/icons/query.png" << png << QSize(32, 32) << true;
    QTest::newRow("payslip") << ":/icons/payslip.png" << png << QSize(32, 32) << true;
    QTest::newRow("statistics") << ":/icons/statistics.png" << png << QSize(24, 24) << true;
    QTest::newRow("departments") << ":/icons/departments.png" << png << QSize(24, 24) << true;
    QTest::newRow("employees") << ":/icons/employees.png" << png << QSize(24, 24) << true;
    QTest::newRow("items") << ":/icons/items.png" << png << QSize(24, 24) << true;
    for (const QString &tool :
         {Icon::add, Icon::modify, Icon::toggle, Icon::save, Icon::cancel, Icon::prepare,
          Icon::remove, Icon::next, Icon::previous, Icon::printer, Icon::magnifier})
        QTest::newRow(qPrintable(tool)) << tool << png << QSize(32, 32) << true;
}

void TestResources::picturesLoad() {
    QFETCH(QString, path);
    QFETCH(QByteArray, format);
    QFETCH(QSize, size);
    QFETCH(bool, transparent);

    // A cut or damaged file still decodes into a picture of the right size, padded out; the
    // decoder only says so in a warning.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    QImageReader reader(path);
    QCOMPARE(reader.format(), format);
    const QImage image = reader.read();
    QVERIFY2(!image.isNull(), qPrintable(path + QStringLiteral(": ") + reader.errorString()));
    QCOMPARE(image.size(), size);
    // Icons sit on buttons of any colour, so nothing may be painted around the drawing.
    QCOMPARE(image.hasAlphaChannel(), transparent);
    QCOMPARE(qAlpha(image.pixel(0, 0)), transparent ? 0 : 255);
}

QTEST_MAIN(TestResources)
#include "test_resources.moc"
