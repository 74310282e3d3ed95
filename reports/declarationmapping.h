#pragma once

#include "computationsettings.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class Connection;

// Which salary item feeds which column of the tax declaration. Earnings and deductions the
// withholding takes before tax each feed one column, or none.

// The headings an item can feed, as the declaration sheet has them.
const QStringList &itemHeadings();

struct MappedItem {
    qint64 item = 0; // GZXMZD.bh
    QString name;
    bool deduction = false;
    int slot = 0;    // rank in its kind: its amount column
    QString heading; // empty: not declared
    bool guessed = false;
};

// The heading the program proposes for an item it has not been told about: by how the item
// is computed (a contribution of the housing fund base, the income tax), then by its name.
QString guessedHeading(const QString &name, bool deduction,
                       const std::optional<ItemMethod> &method);

// Every salary item, earnings then deductions in slot order, with its heading as stored or
// guessed.
std::vector<MappedItem> readDeclarationMapping(Connection &connection);
// Stores every item's heading, in one transaction.
void storeDeclarationMapping(Connection &connection, const std::vector<MappedItem> &items);
