#include "dbgrid.h"

#include "cellpainter.h"
#include "datasource.h"
#include "focusleave.h"
#include "gridheader.h"
#include "gridmodel.h"
#include "guard.h"
#include "query.h"

#include <QHeaderView>

QString PaintedRow::text(const QString &field) const {
    return m_query.fieldAt(m_row, field).asString();
}

qint64 PaintedRow::integer(const QString &field) const {
    return m_query.fieldAt(m_row, field).asInteger();
}

DBGrid::DBGrid(DataSource &source, QWidget *parent)
    : QTableView(parent), m_model(new GridModel(source, this)) {
    setHorizontalHeader(new GridHeader(this));
    setModel(m_model);
    setItemDelegate(new CellPainter(*this));
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setWordWrap(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setMinimumWidth(12);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    setOptions({});

    connect(&source, &DataSource::currentRowChanged, this, &DBGrid::followQuery);
    connect(m_model, &QAbstractItemModel::modelReset, this,
            [this] { followQuery(dataSource().query().currentRow()); });
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (OnTitleClick && section < columns().size())
            guarded([&] { OnTitleClick(columns().at(section)); });
    });
}

void DBGrid::setColumns(QList<GridColumn> columns) {
    m_model->setColumns(std::move(columns));
    for (int i = 0; i < m_model->columns().size(); ++i)
        setColumnWidth(i, m_model->columns().at(i).width);
}

void DBGrid::setOptions(const Options &options) {
    horizontalHeader()->setVisible(options.titles);
    verticalHeader()->setVisible(options.indicator);
    // The view's own grid is lines both ways or none.
    setShowGrid(options.lines && options.rowLines);
    m_columnLinesOnly = options.lines && !options.rowLines;
    setSelectionBehavior(options.rowSelect ? SelectRows : SelectItems);
    followQuery(dataSource().query().currentRow()); // select again, the new way
}

const QList<GridColumn> &DBGrid::columns() const {
    return m_model->columns();
}

DataSource &DBGrid::dataSource() const {
    return m_model->source();
}

void DBGrid::followQuery(int row) {
    if (row < 0 || row >= m_model->rowCount())
        return;
    m_following = true;
    const int column = std::max(currentIndex().column(), 0);
    setCurrentIndex(m_model->index(row, column));
    m_following = false;
}

void DBGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous) {
    QTableView::currentChanged(current, previous);
    if (m_following || !current.isValid())
        return;
    Query &query = dataSource().query();
    guarded([&] { query.moveTo(current.row()); });
}

// A click that moved the focus away from a box refusing to be left does not choose a row: the
// window would otherwise act on a row the operator has not yet been allowed to go to.
bool DBGrid::viewportEvent(QEvent *event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        if (LeaveRefusal::isPending()) {
            event->accept();
            return true;
        }
        break;
    default:
        break;
    }
    return QTableView::viewportEvent(event);
}
