#include "rowasread.h"

#include "messages.h"
#include "query.h"

void RowAsRead::read(const Query &list, const QStringList &textColumns,
                     const QStringList &integerColumns) {
    m_texts.clear();
    m_integers.clear();
    for (const QString &column : textColumns)
        m_texts.append({column, list.field(column).asString()});
    for (const QString &column : integerColumns)
        m_integers.append({column, list.field(column).asInteger()});
}

// coalesce() also drops a column's collation, so the texts compare exactly, as typed.
QString RowAsRead::condition() const {
    QString condition;
    for (const auto &[column, value] : m_texts)
        condition += QStringLiteral(" and coalesce(%1,'')=:was_%1").arg(column);
    for (const auto &[column, value] : m_integers)
        condition += QStringLiteral(" and coalesce(%1,0)=:was_%1").arg(column);
    return condition;
}

void RowAsRead::bind(Query &update) const {
    for (const auto &[column, value] : m_texts)
        update.param(QStringLiteral("was_") + column).setText(value);
    for (const auto &[column, value] : m_integers)
        update.param(QStringLiteral("was_") + column).setInteger(value);
}

bool changedMeanwhile(const Query &update) {
    if (update.rowsAffected() > 0)
        return false;
    tellChangedMeanwhile();
    return true;
}

void tellChangedMeanwhile() {
    Messages::information("这条记录已被其他操作员修改，本次修改未保存！请查看刷新后的内容。");
}
