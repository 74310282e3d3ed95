#include "layout.h"

#include "dberror.h"
#include "progress.h"
#include "query.h"

namespace {

using Kind = ReportElement::Kind;
using BandKind = PlacedBand::Kind;

class Layout {
public:
    Layout(const ReportDefinition &report, const Query &rows, Progress *progress)
        : m_report(report), m_rows(rows), m_rowCount(rows.isOpen() ? rows.recordCount() : 0),
          m_progress(progress) {}

    PageModel run() {
        if (m_rows.isOpen())
            findColumns();
        place(m_report.titleBand, BandKind::Title, -1);
        for (int row = 0; row < m_rowCount; ++row) {
            if (m_progress)
                m_progress->step(row);
            place(m_report.detail, BandKind::Detail, row);
            addToSums(row);
        }
        place(m_report.summary, BandKind::Summary, -1);
        for (std::size_t i = 0; i < m_summed.size(); ++i)
            m_values.sums.insert(m_summed[i].first, m_sums[i]);
        return PageModel(m_report, m_rows, std::move(m_values), std::move(m_bands),
                         std::move(m_pageStarts));
    }

private:
    void place(const ReportBand &band, BandKind kind, int row) {
        if (band.height == 0)
            return;
        if (m_pageStarts.empty() || (m_top > 0 && m_top + band.height > reportPageSize.height())) {
            m_pageStarts.push_back(int(m_bands.size()));
            m_top = 0;
        }
        m_bands.push_back({kind, row, m_top});
        m_top += band.height;
    }

    // Looked up once per field, not once per cell: reports run to thousands of rows.
    void findColumns() {
        for (const ReportBand *band : {&m_report.titleBand, &m_report.detail, &m_report.summary}) {
            for (const ReportElement &element : band->elements) {
                if (element.kind == Kind::FieldText)
                    m_values.columns.insert(element.field, column(element.field));
                if (element.kind == Kind::SumText) {
                    m_summed.push_back({element.field, column(element.field)});
                    m_sums.emplace_back();
                }
            }
        }
    }

    int column(const QString &field) const {
        for (int index = 0; index < m_rows.columnCount(); ++index)
            if (m_rows.columnName(index).compare(field, Qt::CaseInsensitive) == 0)
                return index;
        throw DbError(QStringLiteral("Field '%1' not found").arg(field));
    }

    void addToSums(int row) {
        for (std::size_t i = 0; i < m_summed.size(); ++i)
            m_sums[i] += m_rows.cell(row, m_summed[i].second).asCurrency();
    }

    const ReportDefinition &m_report;
    const Query &m_rows;
    const int m_rowCount;
    Progress *const m_progress;
    PageModel::Values m_values;
    std::vector<std::pair<QString, int>> m_summed; // field and column
    std::vector<Currency> m_sums;                  // of each summed field, so far
    std::vector<PlacedBand> m_bands;
    std::vector<int> m_pageStarts;
    int m_top = 0;
};

} // namespace

PageModel layOut(const ReportDefinition &report, const Query &rows, Progress *progress) {
    return Layout(report, rows, progress).run();
}
