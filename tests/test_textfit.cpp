// Texts wider than their box, on the printed page and in the grids: every digit of a figure
// and every character of a caption is drawn, narrower where needed and inside the box; a figure
// that cannot fit even so shows the overflow mark, never a part of itself.
#include "currencyedit.h"
#include "dbgrid.h"
#include "fonts.h"
#include "paintrecorder.h"
#include "pdftext.h"
#include "reportfonts.h"
#include "reportpainter.h"
#include "textfit.h"
#include "workspace.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

namespace {

constexpr qreal rounding = 0.5; // of a device pixel

bool within(const QRectF &drawn, qreal left, qreal right) {
    return drawn.left() >= left - rounding && drawn.right() <= right + rounding;
}

QString describe(const PaintRecorder &recorder) {
    QStringList drawn;
    for (const PaintRecorder::DrawnText &text : recorder.texts())
        drawn << QStringLiteral("%1 [%2..%3]")
                     .arg(text.text)
                     .arg(text.extent.left())
                     .arg(text.extent.right());
    return drawn.join(QStringLiteral(", "));
}

// How much more ink a bold text carries than the same text regular, on an image `page` where
// layout units are `toPage` pixels.
qreal boldInk(const QImage &page, qreal toPage, const QRectF &regularBox, const QRectF &boldBox) {
    auto ink = [&](const QRectF &box) {
        const QRect pixels(QPointF(box.topLeft() * toPage).toPoint(),
                           QPointF(box.bottomRight() * toPage).toPoint());
        qint64 sum = 0;
        for (int y = pixels.top(); y <= pixels.bottom(); ++y)
            for (int x = pixels.left(); x <= pixels.right(); ++x)
                sum += 255 - qGray(page.pixel(x, y));
        return sum;
    };
    const qint64 regular = ink(regularBox);
    return regular > 0 ? qreal(ink(boldBox)) / regular : 0;
}

} // namespace

class TextFitTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installFontSubstitutes(); }
    void pageTextsFitTheirBoxes_data();
    void pageTextsFitTheirBoxes();
    void gridCellsAndTitlesFitTheirColumns();
    void amountsFitTheEntryBoxes_data();
    void amountsFitTheEntryBoxes();
    void boldIsBoldOnPaper();
    void inkStopsAtItsBox_data();
    void inkStopsAtItsBox();
};

void TextFitTest::pageTextsFitTheirBoxes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QString>("drawn"); // empty: the whole text; "…": its leading characters

    const int value = int(TextStyle::Value);
    const int caption = int(TextStyle::Caption);
    const int right = Qt::AlignRight;
    const int centre = Qt::AlignHCenter;
    QTest::newRow("fits as it is") << "5000.00" << value << 45 << right << "";
    QTest::newRow("five digits") << "95501.00" << value << 45 << right << "";
    QTest::newRow("eight digits") << "19515050.00" << value << 45 << right << "";
    QTest::newRow("ten digits") << "2346534000.00" << value << 45 << right << "";
    QTest::newRow("ten digits, 50 wide") << "2346534000.00" << value << 50 << right << "";
    QTest::newRow("negative") << "-2346534000.00" << value << 45 << right << "";
    QTest::newRow("beyond any narrowing")
        << "-1234567890123456789012.00" << value << 45 << right << overflowMark;
    QTest::newRow("five-character caption") << "住房公积金" << caption << 45 << centre << "";
    QTest::newRow("another one") << "个人所得税" << caption << 45 << centre << "";
    QTest::newRow("caption beyond any narrowing")
        << "这是一个很长很长的项目名称" << caption << 45 << centre << "…";
    QTest::newRow("four-character name") << "欧阳建国" << value << 41 << int(Qt::AlignLeft) << "";
}

// On screen (96 dots per inch, one pixel per unit) and at the PDF writer's resolution.
void TextFitTest::pageTextsFitTheirBoxes() {
    QFETCH(QString, text);
    QFETCH(int, style);
    QFETCH(int, width);
    QFETCH(int, alignment);
    QFETCH(QString, drawn);
    if (drawn.isEmpty())
        drawn = text;
    const QRect box(140, 47, width, 17);
    Page page;
    page.texts << PageText{box, text, TextStyle(style), Qt::Alignment(alignment)};

    for (const int dotsPerInch : {96, 1200}) {
        const qreal scale = dotsPerInch / 96.0;
        PaintRecorder recorder(reportPageSize * scale, dotsPerInch);
        QPainter painter(&recorder);
        paintPage(page, painter);
        painter.end();
        QCOMPARE(recorder.texts().size(), 1);
        const PaintRecorder::DrawnText &shown = recorder.texts().first();
        if (drawn == QStringLiteral("…")) {
            QVERIFY2(shown.text.endsWith(drawn) && shown.text.size() > 2 &&
                         text.startsWith(shown.text.chopped(1)),
                     qPrintable(shown.text));
        } else {
            QCOMPARE(shown.text, drawn);
        }
        QVERIFY2(within(shown.extent, box.left() * scale, (box.left() + width) * scale),
                 qPrintable(describe(recorder)));
        // Not shrunk beyond need: a text that fits is drawn at its own width, one that does
        // not takes (nearly) the whole box.
        const qreal natural =
            QFontMetricsF(reportFont(TextStyle(style)), &recorder).horizontalAdvance(text);
        const qreal expected = std::min(natural, width * scale);
        if (drawn == text)
            QVERIFY2(shown.extent.width() >= expected - rounding, qPrintable(describe(recorder)));
    }
}

// Amount columns 50 pixels wide, as the query and statistics windows make them, and the
// 45-pixel name column.
void TextFitTest::gridCellsAndTitlesFitTheirColumns() {
    Workspace workspace;
    // Amounts are kept in ten-thousandths.
    openLines(DM->AQ1, {"select '欧阳建国' as xm, 955010000 as f1, 195150500000 as f2,",
                        "23465340000000 as f_h, 50000000 as sf"});
    QWidget window;
    auto *grid = new DBGrid(DM->DS1, &window);
    grid->setColumns({{"xm", "姓名", 45},
                      {"f1", "住房公积金", 50, Qt::AlignRight},
                      {"f2", "个人所得税", 50, Qt::AlignRight},
                      {"f_h", "应付合计", 50, Qt::AlignRight},
                      {"sf", "实发工资", 50, Qt::AlignRight}});
    grid->setFont(pixelFont(FontFamily::song, 12));
    grid->setGeometry(0, 0, 300, 100);
    window.resize(300, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    PaintRecorder recorder(grid->size(), 96);
    grid->render(&recorder);
    const QStringList shown[] = {{"姓名", "欧阳建国"},
                                 {"住房公积金", "95501.00"},
                                 {"个人所得税", "19515050.00"},
                                 {"应付合计", "2346534000.00"},
                                 {"实发工资", "5000.00"}};
    for (int column = 0; column < 5; ++column) {
        const qreal left = grid->viewport()->x() + grid->columnViewportPosition(column);
        const qreal right = left + grid->columnWidth(column);
        for (const QString &text : shown[column]) {
            const auto found = std::find_if(recorder.texts().cbegin(), recorder.texts().cend(),
                                            [&](const auto &drawn) { return drawn.text == text; });
            QVERIFY2(found != recorder.texts().cend(),
                     qPrintable(text + QStringLiteral(" not drawn: ") + describe(recorder)));
            QVERIFY2(
                within(found->extent, left, right),
                qPrintable(text + QStringLiteral(" outside its column: ") + describe(recorder)));
        }
    }

    // The tip gives the whole figure where it was drawn narrower, and nothing where it fits.
    auto tipAt = [&](int column) {
        const QRect cell = grid->visualRect(grid->model()->index(0, column));
        QHelpEvent help(QEvent::ToolTip, cell.center(),
                        grid->viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(grid->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(tipAt(4), QString());
    QCOMPARE(tipAt(3), QStringLiteral("2346534000.00"));
}

// The entry window's 70-pixel boxes, shown and not being typed in: the currency sign and every
// digit are drawn, inside the box.
void TextFitTest::amountsFitTheEntryBoxes_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("fits as it is") << "4382.5"
                                   << "¥4,382.50";
    QTest::newRow("millions") << "4382763.53"
                              << "¥4,382,763.53";
    QTest::newRow("largest with seven digits") << "9999999.99"
                                               << "¥9,999,999.99";
    QTest::newRow("negative millions") << "-9999999.99"
                                       << "-¥9,999,999.99";
    QTest::newRow("largest the box takes") << "9999999999999.99"
                                           << "¥9,999,999,999,999.99";
}

void TextFitTest::amountsFitTheEntryBoxes() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);

    QWidget window;
    auto *box = new CurrencyEdit(&window);
    box->setFont(pixelFont(FontFamily::sans, 11));
    box->setGeometry(0, 0, 70, 21);
    box->setValue(*Currency::fromText(typed));
    auto *focused = new QLineEdit(&window);
    focused->setGeometry(0, 30, 70, 21);
    window.resize(100, 60);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    focused->setFocus();
    QVERIFY(!box->hasFocus());

    PaintRecorder recorder(box->size(), 96);
    box->render(&recorder);
    QCOMPARE(recorder.texts().size(), 1);
    QCOMPARE(recorder.texts().first().text, shown);
    QVERIFY2(within(recorder.texts().first().extent, 0, box->width()),
             qPrintable(describe(recorder)));
}

// The installed Chinese faces have no bold cut. A report's bold title, written to PDF and
// rendered by poppler, is as much heavier than the regular weight as it is on the screen,
// and it is still text.
void TextFitTest::boldIsBoldOnPaper() {
    const QString text = QStringLiteral("工资统计表");
    const QRectF regularBox(50, 50, 400, 60);
    const QRectF boldBox(50, 150, 400, 60);
    auto paint = [&](QPainter &painter) {
        QFont font = reportFont(TextStyle::Title);
        font.setBold(false);
        painter.setFont(font);
        drawFittedText(painter, regularBox, Qt::AlignLeft | Qt::AlignTop, text);
        font.setBold(true);
        painter.setFont(font);
        drawFittedText(painter, boldBox, Qt::AlignLeft | Qt::AlignTop, text);
    };
    constexpr int dotsPerInch = 288;
    constexpr qreal toPage = dotsPerInch / 96.0;

    QImage screen(QSize(500, 250) * toPage, QImage::Format_RGB32);
    screen.fill(Qt::white);
    screen.setDotsPerMeterX(qRound(dotsPerInch / 0.0254));
    screen.setDotsPerMeterY(qRound(dotsPerInch / 0.0254));
    {
        QPainter painter(&screen);
        painter.scale(toPage, toPage);
        paint(painter);
    }

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString pdf = folder.filePath(QStringLiteral("bold.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setResolution(96);
        QPainter painter(&writer);
        paint(painter);
    }
    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-r"), QString::number(dotsPerInch), QStringLiteral("-gray"),
                  QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf,
                  folder.filePath(QStringLiteral("page"))});
    QVERIFY(render.waitForFinished() && render.exitCode() == 0);
    const QImage paper(folder.filePath(QStringLiteral("page.png")));
    QVERIFY(!paper.isNull());

    const qreal onScreen = boldInk(screen, toPage, regularBox, boldBox);
    const qreal onPaper = boldInk(paper, toPage, regularBox, boldBox);
    QVERIFY2(onScreen > 1.5, qPrintable(QString::number(onScreen)));
    QVERIFY2(qAbs(onPaper - onScreen) <= onScreen * 0.15,
             qPrintable(QStringLiteral("bold on screen %1 × regular, on paper %2 ×")
                            .arg(onScreen)
                            .arg(onPaper)));
    QCOMPARE(pdfText(pdf).count(text), 2);
}

void TextFitTest::inkStopsAtItsBox_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("alignment");

    const int value = int(TextStyle::Value);
    const int left = Qt::AlignLeft;
    const int right = Qt::AlignRight;
    // Glyphs whose ink overhangs their advance: the first one's to the left, the last one's to
    // the right, where the text starts or ends at the box's edge.
    QTest::newRow("overhang on the left") << "Īj" << value << 30 << left;
    QTest::newRow("overhang on the right") << "ťď" << value << 30 << right;
    QTest::newRow("a narrowed figure") << "2346534000.00" << value << 45 << right;
    QTest::newRow("a caption in the middle")
        << "住房公积金" << int(TextStyle::Caption) << 60 << int(Qt::AlignHCenter);
    QTest::newRow("a bold title") << "数 据 查 询 结 果" << int(TextStyle::Title) << 70
                                  << int(Qt::AlignHCenter);
}

// Drawn at 600 dots per inch, where a glyph's overhang is several dots wide: no dot of ink
// lies outside the text's box, whatever else shares the page's row.
void TextFitTest::inkStopsAtItsBox() {
    QFETCH(QString, text);
    QFETCH(int, style);
    QFETCH(int, width);
    QFETCH(int, alignment);
    constexpr int dotsPerInch = 600;
    constexpr qreal scale = dotsPerInch / 96.0;
    const QRect box(10, 4, width, 17);
    Page page;
    page.texts << PageText{box, text, TextStyle(style), Qt::Alignment(alignment)}
               << PageText{QRect(box.right() + 20, 4, 40, 17), QStringLiteral("1.00"),
                           TextStyle::Value, Qt::AlignRight};
    QImage image(QSize(box.right() + 70, 30) * scale, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dotsPerInch / 0.0254));
    image.setDotsPerMeterY(qRound(dotsPerInch / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(page, painter);
    painter.end();

    // One dot of give on each side: the clip's edge falls between dots.
    const int firstDot = int(box.left() * scale) - 1;
    const int lastDot = int(std::ceil((box.left() + box.width()) * scale));
    int inside = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < int((box.right() + 10) * scale); ++x) {
            if (qGray(image.pixel(x, y)) == 255)
                continue;
            QVERIFY2(x >= firstDot && x <= lastDot && y >= int(box.top() * scale) - 1 &&
                         y <= int(std::ceil((box.top() + box.height()) * scale)),
                     qPrintable(QStringLiteral("ink at %1,%2").arg(x).arg(y)));
            ++inside;
        }
    QVERIFY(inside > 0);
}

QTEST_MAIN(TextFitTest)
#include "test_textfit.moc"
