#pragma once

#include "currency.h"
#include "reportdefinition.h"

#include <QHash>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class Query;

// A report laid out over its rows: pages of outlined boxes and placed texts, in layout units
// of 1/96 inch from the top left corner of an A4 landscape page. It knows nothing of the
// device it will be drawn on.

inline constexpr QSize reportPageSize(1123, 794);

struct PageText {
    QRect box;
    QString text;
    TextStyle style;
    Qt::Alignment alignment;
};

struct Page {
    QList<QRect> rectangles;
    QList<PageText> texts;
};

// Where one band of the report lands: which band, over which row (-1 for the title and
// summary bands) and how far down its page.
struct PlacedBand {
    enum class Kind : std::uint8_t { Title, Detail, Summary };
    Kind kind;
    int row;
    int top;
};

// The pages of a report, made one at a time when they are asked for. The model holds where
// each band lands and reads the texts from the rows while making a page, so a report of
// thousands of pages takes little memory and its first page is ready at once. The rows'
// query must hold the same result for as long as the model is used.
class PageModel {
public:
    // What laying out found out about the rows: the column of every field the report reads
    // and the total of every field it sums.
    struct Values {
        QHash<QString, int> columns;
        QHash<QString, Currency> sums;
    };

    // `pageStarts` holds the index into `bands` of every page's first band.
    PageModel(const ReportDefinition &report, const Query &rows, Values values,
              std::vector<PlacedBand> bands, std::vector<int> pageStarts);

    qsizetype size() const { return qsizetype(m_pageStarts.size()); }
    bool isEmpty() const { return m_pageStarts.empty(); }
    Page at(qsizetype index) const;
    Page operator[](qsizetype index) const { return at(index); }
    Page first() const { return at(0); }
    Page last() const { return at(size() - 1); }

private:
    void place(Page &page, const PlacedBand &placed) const;
    PageText placedText(const ReportElement &element, int row, int top) const;
    QString text(const ReportElement &element, int row) const;

    ReportDefinition m_report;
    const Query *m_rows;
    Values m_values;
    std::vector<PlacedBand> m_bands;
    std::vector<int> m_pageStarts;
    std::array<int, 3> m_lineHeights; // by TextStyle: measured once, not once per text
};
