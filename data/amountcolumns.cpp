#include "amountcolumns.h"

#include "dberror.h"

#include <QFile>
#include <QRegularExpression>

namespace {

const AmountColumns *installed = nullptr;

const QRegularExpression::PatternOption caseless = QRegularExpression::CaseInsensitiveOption;

QString key(QStringView name) {
    return name.toString().toLower();
}

} // namespace

AmountColumns AmountColumns::fromSchema(const QString &schemaText) {
    static const QRegularExpression createTable(QStringLiteral(R"(^\s*CREATE\s+TABLE\s+(\w+))"),
                                                caseless);
    static const QRegularExpression addColumn(
        QStringLiteral(R"(^\s*ALTER\s+TABLE\s+(\w+)\s+ADD\s+(?:COLUMN\s+)?(\w+))"), caseless);
    static const QRegularExpression column(QStringLiteral(R"(^\s*(\w+)\s+\w)"));
    static const QRegularExpression tableEnd(QStringLiteral(R"(^\s*\))"));
    static const QRegularExpression amountMark(QStringLiteral(R"(--\s*amount\s*$)"), caseless);
    static const QRegularExpression computed(QStringLiteral(R"(^\s*--\s*Computed amounts:(.*)$)"),
                                             caseless);
    static const QRegularExpression separator(QStringLiteral(R"([\s,.]+)"));

    AmountColumns columns;
    QHash<QString, QSet<QString>> plain;
    const auto declare = [&](const QString &table, const QString &name, bool amount) {
        (amount ? columns.m_byTable : plain)[key(table)].insert(key(name));
    };
    QString table; // the table whose columns the lines list, while they do
    for (const QString &line : schemaText.split(QChar('\n'))) {
        const bool amount = amountMark.match(line).hasMatch();
        if (const QRegularExpressionMatch match = computed.match(line); match.hasMatch()) {
            for (const QString &name : match.captured(1).split(separator, Qt::SkipEmptyParts))
                columns.m_names.insert(key(name));
        } else if (const QRegularExpressionMatch match = createTable.match(line);
                   match.hasMatch()) {
            table = match.captured(1);
        } else if (const QRegularExpressionMatch match = addColumn.match(line); match.hasMatch()) {
            declare(match.captured(1), match.captured(2), amount);
        } else if (table.isEmpty() || line.trimmed().startsWith(QStringLiteral("--"))) {
            continue;
        } else if (tableEnd.match(line).hasMatch()) {
            table.clear();
        } else if (const QRegularExpressionMatch match = column.match(line); match.hasMatch()) {
            declare(table, match.captured(1), amount);
        }
    }

    for (const QSet<QString> &names : std::as_const(columns.m_byTable))
        columns.m_names.unite(names);
    for (auto it = plain.cbegin(); it != plain.cend(); ++it)
        for (const QString &name : it.value())
            if (columns.m_names.contains(name))
                throw DbError(QStringLiteral("程序的数据库定义有误：表 %2 的列 %1 不是金额，"
                                             "同名的列在别的表中却是金额。")
                                  .arg(name, it.key()));
    return columns;
}

const AmountColumns &AmountColumns::current() {
    if (installed)
        return *installed;
    static const AmountColumns program = [] {
        QFile file(QStringLiteral(":/data/schema.sql"));
        if (!file.open(QIODevice::ReadOnly))
            throw DbError(QStringLiteral("程序中缺少数据库的定义。"));
        return fromSchema(QString::fromUtf8(file.readAll()));
    }();
    return program;
}

bool AmountColumns::isAmount(QStringView name) const {
    return m_names.contains(key(name));
}

bool AmountColumns::holdsAmount(QStringView table, QStringView column) const {
    const auto found = m_byTable.constFind(key(table));
    return found != m_byTable.cend() && found->contains(key(column));
}

ScopedAmountColumns::ScopedAmountColumns(AmountColumns columns)
    : m_columns(std::move(columns)), m_previous(installed) {
    installed = &m_columns;
}

ScopedAmountColumns::~ScopedAmountColumns() {
    installed = m_previous;
}

bool isAmountColumn(QStringView name) {
    return AmountColumns::current().isAmount(name);
}
