#include "settingtable.h"

#include "amountcell.h"
#include "monthtext.h"

#include <QTableWidget>

namespace {

void present(QTableWidgetItem *item, CellKind kind) {
    if (kind == CellKind::Text)
        return;
    const Qt::Alignment alignment =
        kind == CellKind::Month ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter;
    if (item->textAlignment() != int(alignment))
        item->setTextAlignment(alignment);
    const QString text = item->text();
    if (kind == CellKind::Amount) {
        if (const std::optional<Currency> amount = amountIn(text, std::nullopt))
            item->setText(amount->toFixed2());
    } else if (kind == CellKind::Month) {
        item->setText(monthCaption(monthKeyOf(text)));
    }
}

} // namespace

// Setting a cell's text or alignment announces the item again; both are then as they should
// be, so the second announcement changes nothing and ends there.
void showCellsAs(QTableWidget *table, const std::vector<CellKind> &columns) {
    const auto kindOf = [columns](int column) {
        return column < int(columns.size()) ? columns[std::size_t(column)] : CellKind::Text;
    };
    QObject::connect(table, &QTableWidget::itemChanged, table,
                     [kindOf](QTableWidgetItem *item) { present(item, kindOf(item->column())); });
    for (int row = 0; row < table->rowCount(); ++row)
        for (int column = 0; column < table->columnCount(); ++column)
            if (!table->item(row, column))
                table->setItem(row, column, new QTableWidgetItem());
}

QString cellText(const QTableWidget *table, int row, int column) {
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text().trimmed() : QString();
}

void setCell(QTableWidget *table, int row, int column, const QString &text) {
    if (QTableWidgetItem *item = table->item(row, column))
        item->setText(text);
    else
        table->setItem(row, column, new QTableWidgetItem(text));
}
