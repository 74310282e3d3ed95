#pragma once

#include "connection.h"
#include "dbgrid.h"
#include "query.h"

#include <QApplication>
#include <QTest>

// What the operator does to a reference window, through its real widgets, and what the file
// holds afterwards, read with a statement of the test's own.

inline bool waitUntilActive(QWidget &window) {
    return QTest::qWaitForWindowActive(&window);
}

// Types into the focused control, one key per character, Chinese characters included; "→"
// stands for the Right arrow key.
inline void type(const QString &text) {
    for (const QChar character : text) {
        if (character == QChar(u'→'))
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        else
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown,
                                QString(character), Qt::NoModifier);
    }
}

inline void pressEnter() {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

inline void click(QWidget *control) {
    QTest::mouseClick(control, Qt::LeftButton);
}

inline void clickRow(DBGrid *grid, int row) {
    const QRect cell = grid->visualRect(grid->model()->index(row, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

// The background the grid painted in the middle of a row's first cell.
inline QColor rowColour(DBGrid *grid, int row) {
    const QRect cell = grid->visualRect(grid->model()->index(row, 0));
    return grid->viewport()->grab().toImage().pixelColor(cell.left() + 1, cell.center().y());
}

// The rows of a statement on the file, each row's columns joined by "|".
inline QStringList fileRows(const QString &sql) {
    Connection connection;
    Query query(connection);
    query.addLine(sql);
    query.open();
    QStringList rows;
    for (query.first(); !query.eof(); query.next()) {
        QStringList columns;
        for (int column = 0; column < query.columnCount(); ++column)
            columns << query.cell(query.currentRow(), column).asString();
        rows << columns.join('|');
    }
    return rows;
}
