#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

// The employees an import may mean, found the way a clerk would: by number, else by identity
// document number, else by a name only one of them has.
class EmployeeDirectory {
public:
    struct Entry {
        qint64 number = 0;
        QString name;
        QString document; // empty when unknown
    };

    void add(const Entry &entry);
    const QList<Entry> &entries() const { return m_entries; }

    enum class How { Number, Document, Name };
    struct Found {
        const Entry *entry = nullptr; // null: nobody
        // Why nobody: the name is shared by several (then the number or document is needed).
        bool ambiguousName = false;
    };
    // An empty text is not looked up; a number or document given that matches nobody is
    // final: the name is not tried after it, so a wrong number never lands on a namesake.
    Found find(const QString &number, const QString &document, const QString &name) const;

private:
    QList<Entry> m_entries;
    QHash<qint64, qsizetype> m_byNumber;
    QHash<QString, qsizetype> m_byDocument;
    QHash<QString, QList<qsizetype>> m_byName;
};
