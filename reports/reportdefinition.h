#pragma once

#include <QList>
#include <QRect>
#include <QString>

// What a report prints, before it meets any rows. Boxes are in layout units of 1/96 inch; x
// runs from the left edge of the page, y from the top of the element's band (a negative y
// reaches above the band).

// The three kinds of text a report prints, each in its own font.
enum class TextStyle { Caption, Value, Title };

struct ReportElement {
    enum class Kind {
        Rectangle, // a thin black outline of the box
        Label,     // a fixed text
        FieldText, // the value of a result field in the current row
        SumText,   // the total of a result field over all rows
        Title,     // the report's title, centred on the page whatever its length
    };

    Kind kind;
    QRect box;     // a width of 0 makes a text as wide as it is, a height of 0 one line high
    QString text;  // the text of a label
    QString field; // the result field of a field or sum text
    TextStyle style = TextStyle::Caption;
    Qt::Alignment alignment = Qt::AlignLeft;
    bool amountMask = false; // "0.00": two decimals, no grouping
};

ReportElement rectangleElement(const QRect &box);
ReportElement labelElement(const QString &text, const QRect &box, TextStyle style,
                           Qt::Alignment alignment);
ReportElement fieldElement(const QString &field, const QRect &box, TextStyle style,
                           Qt::Alignment alignment, bool amountMask = false);
ReportElement sumElement(const QString &field, const QRect &box, Qt::Alignment alignment);
ReportElement titleElement(int y);

// A band spans the page width; a band of height 0 is not printed.
struct ReportBand {
    int height = 0;
    QList<ReportElement> elements;
};

// One column of the report's table, as a spreadsheet of the report holds it.
struct ReportColumn {
    QString caption;
    QString field;
    bool amount = false;
};

// A banded report over one result: the title band once before the first row, the detail
// band once per row, the summary band once after the last row.
struct ReportDefinition {
    QString title; // the text of the title elements
    ReportBand titleBand;
    ReportBand detail;
    ReportBand summary;
    QList<ReportColumn> columns; // the table the bands print, in print order
    bool totalsRow = false;      // whether the summary totals the amount columns
};
