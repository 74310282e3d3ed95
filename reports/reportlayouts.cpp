#include "reportlayouts.h"

namespace {

// Where one row of a report's table sits in its band.
struct RowPlace {
    int rectY;
    int rectHeight;
    int textY;
};

// A column left of the amount columns: its box, its header label and its value text, as x
// and width. A caption width of 0 makes the caption as wide as its text; a caption y of 0
// puts it at the text y of its row.
struct FixedColumn {
    int x, width;
    const char *caption;
    int captionX, captionY, captionWidth;
    Qt::Alignment captionAlignment;
    const char *field;
    int valueX, valueWidth;
    Qt::Alignment valueAlignment;
};

// The columns of one report: the fixed ones, then amount cell i with its box at x0 + step·i,
// step + 1 wide, so that neighbours share their border line, and its text 2 units inside.
struct TableShape {
    int x0;
    int step;
    QList<FixedColumn> fixed;
    int summaryX; // the empty cell under the fixed columns in the totals row
    int summaryWidth;
};

constexpr int captionHeight = 13;
constexpr int valueHeight = 17;
constexpr int titleBandHeight = 66;
constexpr int tableRowBandHeight = 23;
constexpr RowPlace titleBandHeader{42, 24, 47};
constexpr RowPlace detailRow{-1, 24, 3};
constexpr RowPlace summaryRow{-2, 25, 3};

const Qt::Alignment left = Qt::AlignLeft;
const Qt::Alignment centre = Qt::AlignHCenter;
const Qt::Alignment right = Qt::AlignRight;

// The pay slip and query reports share their columns; only where the captions sit differs.
TableShape personShape(int monthCaptionY, int captionY) {
    return {138,
            48,
            {{24, 37, "月份", 30, monthCaptionY, 0, left, "ny", 26, 32, left},
             {60, 33, "编号", 65, captionY, 0, left, "ygh", 64, 25, centre},
             {92, 47, "姓名", 101, captionY, 29, centre, "xm", 94, 43, left}},
            24,
            115};
}

const TableShape monthShape{
    71, 57, {{25, 47, "年月", 34, 48, 29, centre, "ny", 28, 42, centre}}, 25, 47};

const TableShape employeeShape{108,
                               57,
                               {{25, 38, "编号", 30, 48, 29, centre, "ygh", 28, 32, centre},
                                {62, 47, "姓名", 71, 48, 29, centre, "xm", 65, 41, left}},
                               25,
                               84};

QRect amountBox(const TableShape &shape, int i, const RowPlace &row) {
    return QRect(shape.x0 + shape.step * int(i), row.rectY, shape.step + 1, row.rectHeight);
}

// One line of the row's font high.
QRect amountText(const TableShape &shape, int i, const RowPlace &row) {
    return QRect(shape.x0 + 2 + shape.step * int(i), row.textY, shape.step - 3, 0);
}

void addHeaderRow(ReportBand &band, const TableShape &shape, const RowPlace &row,
                  const QList<AmountColumn> &columns) {
    for (const FixedColumn &column : shape.fixed) {
        band.elements << rectangleElement(QRect(column.x, row.rectY, column.width, row.rectHeight))
                      << labelElement(QString::fromUtf8(column.caption),
                                      QRect(column.captionX,
                                            column.captionY ? column.captionY : row.textY,
                                            column.captionWidth, captionHeight),
                                      TextStyle::Caption, column.captionAlignment);
    }
    for (int i = 0; i < columns.size(); ++i)
        band.elements << rectangleElement(amountBox(shape, i, row))
                      << labelElement(columns.at(i).caption, amountText(shape, i, row),
                                      TextStyle::Caption, centre);
}

void addValueRow(ReportBand &band, const TableShape &shape, const RowPlace &row,
                 const QList<AmountColumn> &columns) {
    for (const FixedColumn &column : shape.fixed) {
        band.elements << rectangleElement(QRect(column.x, row.rectY, column.width, row.rectHeight))
                      << fieldElement(
                             QString::fromUtf8(column.field),
                             QRect(column.valueX, row.textY, column.valueWidth, valueHeight),
                             TextStyle::Value, column.valueAlignment);
    }
    for (int i = 0; i < columns.size(); ++i)
        band.elements << rectangleElement(amountBox(shape, i, row))
                      << fieldElement(columns.at(i).field, amountText(shape, i, row),
                                      TextStyle::Value, right, true);
}

void addSummaryRow(ReportBand &band, const TableShape &shape, const RowPlace &row,
                   const QList<AmountColumn> &columns) {
    band.elements << rectangleElement(
        QRect(shape.summaryX, row.rectY, shape.summaryWidth, row.rectHeight));
    for (int i = 0; i < columns.size(); ++i)
        band.elements << rectangleElement(amountBox(shape, i, row))
                      << sumElement(columns.at(i).field, amountText(shape, i, row), right);
}

QList<ReportColumn> tableColumns(const TableShape &shape, const QList<AmountColumn> &columns) {
    QList<ReportColumn> table;
    for (const FixedColumn &column : shape.fixed)
        table.append({QString::fromUtf8(column.caption), QString::fromUtf8(column.field), false});
    for (const AmountColumn &column : columns)
        table.append({column.caption, column.field, true});
    return table;
}

// A title band with the column headers, a detail row per result row and a totals row.
ReportDefinition tableReport(const TableShape &shape, int titleY,
                             const QList<AmountColumn> &columns) {
    ReportDefinition report;
    report.titleBand.height = titleBandHeight;
    report.titleBand.elements << titleElement(titleY);
    addHeaderRow(report.titleBand, shape, titleBandHeader, columns);
    report.detail.height = tableRowBandHeight;
    addValueRow(report.detail, shape, detailRow, columns);
    report.summary.height = tableRowBandHeight;
    addSummaryRow(report.summary, shape, summaryRow, columns);
    report.columns = tableColumns(shape, columns);
    report.totalsRow = true;
    return report;
}

} // namespace

ReportDefinition paySlipReport(const QList<AmountColumn> &columns) {
    const TableShape shape = personShape(22, 0);
    ReportDefinition report;
    report.detail.height = 65;
    addHeaderRow(report.detail, shape, {17, 24, 23}, columns);
    addValueRow(report.detail, shape, {40, 24, 44}, columns);
    report.columns = tableColumns(shape, columns);
    return report;
}

ReportDefinition queryReport(const QList<AmountColumn> &columns) {
    ReportDefinition report = tableReport(personShape(47, 48), 21, columns);
    report.title = QStringLiteral("数 据 查 询 结 果");
    return report;
}

ReportDefinition monthStatisticsReport(const QList<AmountColumn> &columns) {
    return tableReport(monthShape, 13, columns);
}

ReportDefinition employeeStatisticsReport(const QList<AmountColumn> &columns) {
    return tableReport(employeeShape, 13, columns);
}
