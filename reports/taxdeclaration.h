#pragma once

#include "currency.h"

#include <QString>
#include <QStringList>
#include <map>
#include <vector>

class Connection;
struct MappedItem;

// A saved month as the tax client imports it for 正常工资薪金所得: one row per employee with an
// identity document, on the sheet 正常工资薪金收入.

// The sheet's headings, in the client's order.
const QStringList &declarationHeadings();

// The headings of the client's sheet 全年一次性奖金收入, in its order.
const QStringList &bonusHeadings();

// The heading of the program's own that `heading` (a template's, "企业（职业）年金" or
// "姓名") stands for; empty when it is none of them.
QString knownHeading(const QString &heading);

struct DeclarationRow {
    qint64 employee = 0;
    QString name;
    QString documentKind;
    QString documentNumber;
    std::map<QString, Currency> amounts; // by heading; a heading without one is 0
};

struct Declaration {
    QString month;
    std::vector<DeclarationRow> rows; // by employee number
    // The year-end bonuses of the month taxed apart, declared on their own sheet (the bonus
    // taxed with the pay is in `rows`' income).
    std::vector<DeclarationRow> bonusRows;
    QStringList withoutDocument; // "5 陈明": employees of the month without a number
};

// The month's rows of GZB, each item's amount added to the column `items` maps it to (a
// deduction mapped to an income column lowers it; an untaxed earning counts in the income as
// well), the employee's other deductions each month under 其他, and the special deductions of
// the year through the month: each kind over the months of the year the employee was paid in
// (the months before the program of an opening year included), to the month.
Declaration readDeclaration(Connection &connection, const QString &month,
                            const std::vector<MappedItem> &items);

// Writes `declaration` under `headings` (the client's template's, or declarationHeadings()):
// the sheet 正常工资薪金收入, the headings in row 1, then a row per employee. Columns under a
// heading the program does not know stay empty; identity numbers are texts, amounts numbers
// with two decimals. The file appears under its name only when complete; a failure leaves
// whatever was there and throws ExportError. Returns the path written.
QString writeDeclaration(const QString &path, const Declaration &declaration,
                         const QStringList &headings);

// Writes the bonuses taxed apart of `declaration` as the client imports them, on the sheet
// 全年一次性奖金收入 under bonusHeadings(), as writeDeclaration writes. Returns the path written.
QString writeBonusDeclaration(const QString &path, const Declaration &declaration);
