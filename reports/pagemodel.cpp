#include "pagemodel.h"

#include "query.h"
#include "reportfonts.h"

PageModel::PageModel(const ReportDefinition &report, const Query &rows, Values values,
                     std::vector<PlacedBand> bands, std::vector<int> pageStarts)
    : m_report(report), m_rows(&rows), m_values(std::move(values)), m_bands(std::move(bands)),
      m_pageStarts(std::move(pageStarts)), m_lineHeights{lineHeight(TextStyle::Caption),
                                                         lineHeight(TextStyle::Value),
                                                         lineHeight(TextStyle::Title)} {}

Page PageModel::at(qsizetype index) const {
    Q_ASSERT(index >= 0 && index < size());
    const std::size_t first = std::size_t(m_pageStarts[std::size_t(index)]);
    const std::size_t end = std::size_t(index + 1) < m_pageStarts.size()
                                ? std::size_t(m_pageStarts[std::size_t(index) + 1])
                                : m_bands.size();
    Page page;
    for (std::size_t band = first; band < end; ++band)
        place(page, m_bands[band]);
    return page;
}

void PageModel::place(Page &page, const PlacedBand &placed) const {
    using Kind = PlacedBand::Kind;
    const ReportBand &band = placed.kind == Kind::Title    ? m_report.titleBand
                             : placed.kind == Kind::Detail ? m_report.detail
                                                           : m_report.summary;
    for (const ReportElement &element : band.elements) {
        if (element.kind == ReportElement::Kind::Rectangle)
            page.rectangles << element.box.translated(0, placed.top);
        else
            page.texts << placedText(element, placed.row, placed.top);
    }
}

PageText PageModel::placedText(const ReportElement &element, int row, int top) const {
    const QString shown = text(element, row);
    QRect box = element.box.translated(0, top);
    if (box.width() == 0)
        box.setWidth(textWidth(element.style, shown));
    if (box.height() == 0)
        box.setHeight(m_lineHeights[std::size_t(element.style)]);
    if (element.kind == ReportElement::Kind::Title)
        box.moveLeft((reportPageSize.width() - box.width()) / 2);
    return {box, shown, element.style, element.alignment};
}

QString PageModel::text(const ReportElement &element, int row) const {
    using Kind = ReportElement::Kind;
    switch (element.kind) {
    case Kind::Label:
        return element.text;
    case Kind::Title:
        return m_report.title;
    case Kind::FieldText: {
        if (row < 0)
            return {};
        const Field value = m_rows->cell(row, m_values.columns.value(element.field));
        return element.amountMask ? value.asCurrency().toFixed2() : value.asString();
    }
    case Kind::SumText:
        return m_values.sums.value(element.field).toFixed2();
    case Kind::Rectangle:
        break;
    }
    return {};
}
