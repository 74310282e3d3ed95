// The data grid over a shared query: declared columns, the current row kept in step both
// ways, the per-cell background notification and title clicks.
#include "data.h"
#include "dateedit.h"
#include "dbgrid.h"
#include "workspace.h"

#include <QHeaderView>
#include <QTest>

namespace {

// Three departments with an amount each: the grid needs no more to show its rules.
void openDepartments(Workspace &workspace) {
    workspace.exec("insert into BMZD (mc) values ('办公室'),('财务科'),('技术部')");
    Query &query = DM->AQ1;
    query.clearSql();
    query.addLine("select bh, mc, bh*12500 as f1 from BMZD order by bh");
    query.open();
}

struct GridOnScreen {
    QWidget window;
    DBGrid *grid;

    GridOnScreen() : grid(new DBGrid(DM->DS1, &window)) {
        grid->setColumns(
            {{"MC", "部门名称", 120, Qt::AlignLeft}, {"f1", "金额", 80, Qt::AlignRight}});
        grid->setGeometry(0, 0, 300, 200);
        window.resize(300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }

    QPoint cellCentre(int row, int column) const {
        return grid->visualRect(grid->model()->index(row, column)).center();
    }
};

} // namespace

class GridTest : public QObject {
    Q_OBJECT
private slots:
    void showsTheDeclaredColumns();
    void currentRowFollowsBothWays();
    void cellBackgroundsComeFromTheWindow();
    void titleClickNamesTheColumn();
    void linesBetweenColumnsOnly();
    void refusingDateBoxKeepsTheRow();
};

void GridTest::showsTheDeclaredColumns() {
    Workspace workspace;
    openDepartments(workspace);
    GridOnScreen screen;
    QAbstractItemModel *model = screen.grid->model();
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->columnCount(), 2);
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("部门名称"));
    QCOMPARE(screen.grid->columnWidth(0), 120);
    QCOMPARE(model->index(1, 0).data().toString(), QStringLiteral("财务科"));
    QCOMPARE(model->index(1, 1).data().toString(),
             QStringLiteral("2.50")); // amounts show two decimals
    QVERIFY(screen.grid->editTriggers() == QAbstractItemView::NoEditTriggers);

    CloseAllQueries();
    QCOMPARE(model->rowCount(), 0);
}

void GridTest::currentRowFollowsBothWays() {
    Workspace workspace;
    openDepartments(workspace);
    GridOnScreen screen;
    QCOMPARE(screen.grid->currentIndex().row(), 0);

    DM->AQ1.next();
    DM->AQ1.next();
    QCOMPARE(screen.grid->currentIndex().row(), 2);
    screen.grid->setOptions({.rowSelect = true});
    QVERIFY(screen.grid->selectionModel()->isRowSelected(2, {}));

    int scrolls = 0;
    DM->AQ1.setAfterScroll([&](Query &) { ++scrolls; });
    QTest::mouseClick(screen.grid->viewport(), Qt::LeftButton, {}, screen.cellCentre(1, 0));
    QCOMPARE(DM->AQ1.currentRow(), 1);
    QCOMPARE(DM->AQ1.field("mc").asString(), QStringLiteral("财务科"));
    QCOMPARE(scrolls, 1);

    // Reopening the query puts both back on the first row.
    DM->AQ1.open();
    QCOMPARE(screen.grid->currentIndex().row(), 0);
}

void GridTest::cellBackgroundsComeFromTheWindow() {
    Workspace workspace;
    openDepartments(workspace);
    GridOnScreen screen;
    DM->AQ1.next(); // the highlighted row is the one painted red
    int scrolls = 0;
    DM->AQ1.setAfterScroll([&](Query &) { ++scrolls; });
    QSet<QString> painted;
    screen.grid->OnGetCellParams = [&](const PaintedRow &row, const QString &field,
                                       QColor &background, bool) {
        painted << QStringLiteral("%1:%2").arg(row.text("mc"), field);
        if (row.integer("bh") == 2)
            background = Qt::red;
    };
    const QImage image = screen.grid->grab().toImage();

    QCOMPARE(painted, (QSet<QString>{"办公室:MC", "办公室:f1", "财务科:MC", "财务科:f1",
                                     "技术部:MC", "技术部:f1"}));
    QCOMPARE(DM->AQ1.currentRow(), 1);
    QCOMPARE(scrolls, 0);
    const QPoint offset = screen.grid->viewport()->pos();
    for (const int column : {0, 1}) {
        QCOMPARE(image.pixelColor(screen.cellCentre(1, column) + offset + QPoint(0, 4)),
                 QColor(Qt::red));
        QVERIFY(image.pixelColor(screen.cellCentre(0, column) + offset + QPoint(0, 4)) !=
                QColor(Qt::red));
    }
}

void GridTest::titleClickNamesTheColumn() {
    Workspace workspace;
    openDepartments(workspace);
    GridOnScreen screen;
    QString clicked;
    screen.grid->OnTitleClick = [&](const GridColumn &column) { clicked = column.field; };
    QHeaderView *titles = screen.grid->horizontalHeader();
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {},
                      QPoint(titles->sectionViewportPosition(1) + 10, titles->height() / 2));
    QCOMPARE(clicked, QStringLiteral("f1"));
}

// The entry window's list: lines part the columns, the rows run on unruled.
void GridTest::linesBetweenColumnsOnly() {
    Workspace workspace;
    openDepartments(workspace);
    GridOnScreen screen;
    screen.grid->setOptions({.titles = false, .lines = true, .rowLines = false});
    screen.grid->clearSelection();
    screen.grid->setCurrentIndex({});
    const QImage image = screen.grid->viewport()->grab().toImage();
    const QColor base = screen.grid->palette().color(QPalette::Base);
    const int rowsBottom = screen.grid->rowViewportPosition(2) + screen.grid->rowHeight(2);

    // The column's last pixel is a line from the first row to the last...
    const int columnEnd = screen.grid->columnWidth(0) - 1;
    for (int y = 0; y < rowsBottom; ++y)
        QVERIFY2(image.pixelColor(columnEnd, y) != base, qPrintable(QString::number(y)));
    // ...while the last pixel row of a row is background, but where a glyph reaches it.
    const int rowEnd = screen.grid->rowHeight(0) - 1;
    int ruled = 0;
    for (int x = 0; x < columnEnd; ++x)
        ruled += image.pixelColor(x, rowEnd) != base;
    QVERIFY2(ruled < columnEnd / 4, qPrintable(QString::number(ruled)));
}

// A click on a row is an attempt to leave a date box: while the box refuses, the query stays
// where it is, so a window acting on the current row still finds the one the box belongs to.
void GridTest::refusingDateBoxKeepsTheRow() {
    Workspace workspace;
    openDepartments(workspace);
    GridOnScreen screen;
    auto *box = new DateEdit(&screen.window);
    box->setGeometry(0, 170, 100, 24);
    box->show();
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    int scrolls = 0;
    DM->AQ1.setAfterScroll([&](Query &) { ++scrolls; });

    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClicks(box, "2005-12");
    QTest::mouseClick(screen.grid->viewport(), Qt::LeftButton, {}, screen.cellCentre(2, 0));
    QTRY_VERIFY(box->hasFocus());
    QCOMPARE(workspace.shownTexts(),
             QStringList{"Invalid input value.  Use escape key to abandon changes."});
    QCOMPARE(DM->AQ1.currentRow(), 0);
    QCOMPARE(screen.grid->currentIndex().row(), 0);
    QCOMPARE(scrolls, 0);

    // Completed, the date lets the same click through.
    QTest::keyClicks(box, "03");
    QCOMPARE(box->dateText(), "2005-12-03");
    QTest::mouseClick(screen.grid->viewport(), Qt::LeftButton, {}, screen.cellCentre(2, 0));
    QCOMPARE(DM->AQ1.currentRow(), 2);
    QCOMPARE(scrolls, 1);
    QCOMPARE(workspace.shownTexts().size(), 1);
}

QTEST_MAIN(GridTest)
#include "test_grid.moc"
