#include "layout.h"

#include "currency.h"
#include "dberror.h"
#include "query.h"
#include "reportfonts.h"

#include <QHash>
#include <array>

namespace {

using Kind = ReportElement::Kind;

// By TextStyle: measured once for all the rows of a report.
std::array<int, 3> lineHeights() {
    return {lineHeight(TextStyle::Caption), lineHeight(TextStyle::Value),
            lineHeight(TextStyle::Title)};
}

class Layout {
public:
    Layout(const ReportDefinition &report, const Query &rows)
        : m_report(report), m_rows(rows), m_rowCount(rows.isOpen() ? rows.recordCount() : 0),
          m_lineHeights(lineHeights()) {}

    PageModel run() {
        place(m_report.titleBand, -1);
        for (int row = 0; row < m_rowCount; ++row)
            place(m_report.detail, row);
        place(m_report.summary, -1);
        return m_pages;
    }

private:
    void place(const ReportBand &band, int row) {
        if (band.height == 0)
            return;
        if (m_pages.isEmpty() || (m_top > 0 && m_top + band.height > reportPageSize.height())) {
            m_pages.append(Page{});
            m_top = 0;
        }
        Page &page = m_pages.last();
        for (const ReportElement &element : band.elements) {
            if (element.kind == Kind::Rectangle)
                page.rectangles << element.box.translated(0, m_top);
            else
                page.texts << placedText(element, row);
        }
        m_top += band.height;
    }

    PageText placedText(const ReportElement &element, int row) {
        const QString shown = text(element, row);
        QRect box = element.box.translated(0, m_top);
        if (box.width() == 0)
            box.setWidth(textWidth(element.style, shown));
        if (box.height() == 0)
            box.setHeight(m_lineHeights[std::size_t(element.style)]);
        if (element.kind == Kind::Title)
            box.moveLeft((reportPageSize.width() - box.width()) / 2);
        return {box, shown, element.style, element.alignment};
    }

    QString text(const ReportElement &element, int row) {
        switch (element.kind) {
        case Kind::Label:
            return element.text;
        case Kind::Title:
            return m_report.title;
        case Kind::FieldText: {
            if (row < 0)
                return {};
            const Field value = m_rows.cell(row, column(element.field));
            return element.amountMask ? value.asCurrency().toFixed2() : value.asString();
        }
        case Kind::SumText:
            return sum(element.field).toFixed2();
        case Kind::Rectangle:
            break;
        }
        return {};
    }

    Currency sum(const QString &field) {
        const auto known = m_sums.constFind(field);
        if (known != m_sums.cend())
            return *known;
        Currency total;
        for (int row = 0; row < m_rowCount; ++row)
            total += m_rows.cell(row, column(field)).asCurrency();
        m_sums.insert(field, total);
        return total;
    }

    // Looked up once per field, not once per cell: reports run to thousands of rows.
    int column(const QString &field) {
        const auto known = m_columns.constFind(field);
        if (known != m_columns.cend())
            return *known;
        for (int index = 0; index < m_rows.columnCount(); ++index) {
            if (m_rows.columnName(index).compare(field, Qt::CaseInsensitive) == 0) {
                m_columns.insert(field, index);
                return index;
            }
        }
        throw DbError(QStringLiteral("Field '%1' not found").arg(field));
    }

    const ReportDefinition &m_report;
    const Query &m_rows;
    const int m_rowCount;
    const std::array<int, 3> m_lineHeights;
    PageModel m_pages;
    int m_top = 0;
    QHash<QString, Currency> m_sums;
    QHash<QString, int> m_columns;
};

} // namespace

PageModel layOut(const ReportDefinition &report, const Query &rows) {
    return Layout(report, rows).run();
}
