#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringView>

// Which names carry money, as data/schema.sql declares them: every column whose line ends in
// the comment "-- amount", in whichever table or version it was added, and the names listed
// on its "-- Computed amounts:" line, which statements give to amounts they compute. Values
// of these names are stored in ten-thousandths of a yuan and read back as Currency; every
// other name is passed through unchanged. Binding and reading go by name alone, so a name
// must mean money in every table or in none.
class AmountColumns {
public:
    // Throws DbError when a name is declared money in one table and plain in another.
    static AmountColumns fromSchema(const QString &schemaText);
    // The program's own schema; while a ScopedAmountColumns lives, the one it installed.
    static const AmountColumns &current();

    bool isAmount(QStringView name) const;
    bool holdsAmount(QStringView table, QStringView column) const;

private:
    QHash<QString, QSet<QString>> m_byTable; // lower-case names throughout
    QSet<QString> m_names;
};

// Makes the data layer read and bind by another schema's declarations while it lives: for a
// database that holds tables of its own beside the program's.
class ScopedAmountColumns {
public:
    explicit ScopedAmountColumns(AmountColumns columns);
    ~ScopedAmountColumns();
    ScopedAmountColumns(const ScopedAmountColumns &) = delete;
    ScopedAmountColumns &operator=(const ScopedAmountColumns &) = delete;

private:
    AmountColumns m_columns;
    const AmountColumns *m_previous;
};

bool isAmountColumn(QStringView name);
