#include "employeedirectory.h"

void EmployeeDirectory::add(const Entry &entry) {
    const qsizetype at = m_entries.size();
    m_entries << entry;
    m_byNumber.insert(entry.number, at);
    if (!entry.document.isEmpty())
        m_byDocument.insert(entry.document.toUpper(), at);
    m_byName[entry.name.trimmed()] << at;
}

EmployeeDirectory::Found EmployeeDirectory::find(const QString &number, const QString &document,
                                                 const QString &name) const {
    if (!number.isEmpty()) {
        bool ok = false;
        const qint64 key = number.toLongLong(&ok);
        const auto at = ok ? m_byNumber.constFind(key) : m_byNumber.cend();
        return {at == m_byNumber.cend() ? nullptr : &m_entries[*at], false};
    }
    if (!document.isEmpty()) {
        const auto at = m_byDocument.constFind(document.toUpper());
        return {at == m_byDocument.cend() ? nullptr : &m_entries[*at], false};
    }
    const QList<qsizetype> named = m_byName.value(name.trimmed());
    if (named.size() == 1)
        return {&m_entries[named.first()], false};
    return {nullptr, named.size() > 1};
}
