#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

class Query;

// A row as a window read it to be changed. Saving puts these values into its update's
// condition, so that the update changes nothing when another clerk has changed the row since
// it was read; the window then says so and stores nothing, instead of overwriting that change
// unseen. Values compare exactly as read: a null as empty text or 0, letters in their case.
class RowAsRead {
public:
    // Takes the current row of `list`: text columns as text, integer columns as integers.
    void read(const Query &list, const QStringList &textColumns,
              const QStringList &integerColumns = {});

    // " and coalesce(mc,'')=:was_mc": the line that ends the update's where clause.
    QString condition() const;
    void bind(Query &update) const;

private:
    QList<std::pair<QString, QString>> m_texts;
    QList<std::pair<QString, qint64>> m_integers;
};

// After an update with a RowAsRead condition: true, once the operator is told, when it
// changed no row because the row was changed by someone else since it was read.
bool changedMeanwhile(const Query &update);
// Tells the operator that a change was not stored because someone else changed the same data
// since it was read.
void tellChangedMeanwhile();
