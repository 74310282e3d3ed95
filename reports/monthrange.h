#pragma once

#include <QList>
#include <QString>

class QLabel;
class QWidget;
class Query;
class SpinEdit;

// The range of months the query and statistics windows work on, along one row: "工资月份：",
// the first month's year and month boxes, "至", the last month's. A window that has one lists
// it among its bases, so the boxes keep their names there (e_n, e_y, e_n1, e_y1). The boxes
// give the year and month as typed (see SpinEdit).
class MonthRange {
public:
    QLabel *Label1 = nullptr;
    SpinEdit *e_n = nullptr;
    SpinEdit *e_y = nullptr;
    QLabel *rangeTo = nullptr; // "至"
    SpinEdit *e_n1 = nullptr;
    SpinEdit *e_y1 = nullptr;

protected:
    // Places the controls in `window`, in its font, with the boxes' tops at `top`; the four
    // boxes follow each other in the tab order. `toName` names the "至" label.
    void placeMonthRange(QWidget *window, int top, const char *toName);

    QList<SpinEdit *> monthBoxes() const;
    // Both months set to this one, as the windows open.
    void showThisMonthRange() const;
    // Sets the parameters ny and ny1 to the month keys of the first and the last month.
    void bindMonthKeys(Query &query) const;
    // "2026年1月至2026年11月": how the names of files saved from a report give the range.
    QString monthRangeName() const;
    // "[2005年1月 至 2005年12月]": how report titles give the range, from the boxes' texts as
    // they stand.
    QString monthRangeTitle() const;
};
