#pragma once

#include "currency.h"
#include "employeedirectory.h"
#include "importsheet.h"

#include <QList>
#include <QString>
#include <QStringList>

// A month's amounts taken from a sheet into the worksheet: the sheet's columns are the salary
// items of the same name, its rows the employees of the month found by 编号, else 证件号码,
// else a name only one of them has. Working it out writes nothing; the clerk sees each
// employee's changes and every problem first.
namespace AmountImport {

// A salary item a column may fill.
struct Item {
    QString column; // "f1"
    QString name;   // its header
};

// The month as the worksheet holds it.
struct MonthRow {
    qint64 employee = 0;
    QString name;
    QString document;
    QList<Currency> amounts; // of each item, in the items' order
};

struct Change {
    QString column;
    QString item;
    Currency before;
    Currency after;
};

struct EmployeeChanges {
    qint64 employee = 0;
    QString name;
    QList<Change> changes;
};

struct Preview {
    QList<EmployeeChanges> employees; // those with a change, in the sheet's order
    int unchanged = 0;                // employees found whose amounts stay as they are
    QStringList itemsRead;            // the items the sheet has columns for
    QStringList problems;             // each a sentence; their cells are not taken
    QStringList missing;              // employees of the month the sheet does not name
};

inline const QString numberHeader = QStringLiteral("编号");
inline const QString nameHeader = QStringLiteral("姓名");
inline const QString documentHeader = QStringLiteral("证件号码");

// The salary items in column order, the computed ones left out: those follow from the rest.
QList<Item> enteredItems(const QStringList &computedColumns);
// The worksheet's rows, with each employee's identity document number.
QList<MonthRow> readMonth(const QList<Item> &items);

Preview preview(const ImportSheet &sheet, const QList<Item> &items, const QList<MonthRow> &month);

} // namespace AmountImport
