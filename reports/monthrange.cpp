#include "monthrange.h"

#include "caption.h"
#include "monthkey.h"
#include "placement.h"
#include "query.h"
#include "spinedit.h"

#include <QLabel>

void MonthRange::placeMonthRange(QWidget *window, int top, const char *toName) {
    const int captionTop = top + 4;
    Label1 = makeCaption("Label1", "工资月份：", {4, captionTop}, window->font(), window);
    e_n = place(new SpinEdit(2005, 2100, window), "e_n", {68, top, 44, 21});
    e_y = place(new SpinEdit(1, 12, window), "e_y", {115, top, 33, 21});
    rangeTo = makeCaption(toName, "至", {150, captionTop}, window->font(), window);
    e_n1 = place(new SpinEdit(2005, 2100, window), "e_n1", {165, top, 44, 21});
    e_y1 = place(new SpinEdit(1, 12, window), "e_y1", {212, top, 33, 21});
    QWidget::setTabOrder(e_n, e_y);
    QWidget::setTabOrder(e_y, e_n1);
    QWidget::setTabOrder(e_n1, e_y1);
}

QList<SpinEdit *> MonthRange::monthBoxes() const {
    return {e_n, e_y, e_n1, e_y1};
}

void MonthRange::showThisMonthRange() const {
    showThisMonth(e_n, e_y);
    showThisMonth(e_n1, e_y1);
}

void MonthRange::bindMonthKeys(Query &query) const {
    query.param("ny").setText(monthKey(e_n->value(), e_y->value()));
    query.param("ny1").setText(monthKey(e_n1->value(), e_y1->value()));
}

QString MonthRange::monthRangeName() const {
    return QStringLiteral("%1年%2月至%3年%4月")
        .arg(e_n->value())
        .arg(e_y->value())
        .arg(e_n1->value())
        .arg(e_y1->value());
}

QString MonthRange::monthRangeTitle() const {
    return QStringLiteral("[%1年%2月 至 %3年%4月]")
        .arg(e_n->text(), e_y->text(), e_n1->text(), e_y1->text());
}
