#include "query.h"

#include "connection.h"
#include "dberror.h"
#include "sqldialect.h"

#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

Query::Query(Connection &connection, QObject *parent) : QObject(parent), m_connection(connection) {}

Query::~Query() = default;

void Query::clearSql() {
    close();
    m_lines.clear();
    m_parameters.clear();
}

void Query::addLine(const QString &line) {
    close();
    m_lines << line;
    // Values already set for names that remain are kept, as the text grows line by line.
    std::vector<Parameter> parameters;
    for (const QString &name : parameterNames(sqlText())) {
        auto kept = std::find_if(m_parameters.begin(), m_parameters.end(), [&](const Parameter &p) {
            return p.name().compare(name, Qt::CaseInsensitive) == 0;
        });
        parameters.push_back(kept != m_parameters.end() ? *kept : Parameter(name));
    }
    m_parameters = std::move(parameters);
}

QString Query::sqlText() const {
    QString text;
    for (const QString &line : m_lines)
        text += line + QChar('\n');
    return text;
}

Parameter &Query::param(const QString &name) {
    for (Parameter &parameter : m_parameters)
        if (parameter.name().compare(name, Qt::CaseInsensitive) == 0)
            return parameter;
    throw DbError(QStringLiteral("Parameter '%1' not found").arg(name));
}

void Query::open() {
    run(true);
}

void Query::execSql() {
    run(false);
}

void Query::run(bool wantsRows) {
    close();
    const TranslatedStatement statement = translateStatement(sqlText());
    QSqlQuery &sql = prepared(statement.sql);
    // Whatever happens, the statement lets go of the file before the handler goes on.
    const auto release = qScopeGuard([&sql] { sql.finish(); });
    for (int i = 0; i < statement.parameterOrder.size(); ++i) {
        const Parameter &parameter = param(statement.parameterOrder.at(i));
        if (!parameter.hasValue())
            throw DbError(
                QStringLiteral("No value given for parameter '%1'").arg(parameter.name()));
        sql.bindValue(i, parameter.boundValue());
    }
    if (!sql.exec())
        throw DbError(sql.lastError().databaseText());
    if (!wantsRows)
        return;
    if (!sql.isSelect())
        throw DbError(QStringLiteral("The statement does not return rows"));

    m_result = ResultSet::read(sql);
    if (sql.lastError().isValid())
        throw DbError(sql.lastError().databaseText());
    const bool empty = m_result->rowCount() == 0;
    m_row = empty ? -1 : 0;
    m_bof = true;
    m_eof = empty;
    emit resultChanged();
    emit currentRowChanged(m_row);
    if (!empty)
        scrolled();
}

// Windows rebuild the same statement row after row; preparing it once serves them all.
QSqlQuery &Query::prepared(const QString &sql) {
    if (m_prepared && m_preparedSql == sql)
        return *m_prepared;
    m_prepared.reset();
    auto statement = std::make_unique<QSqlQuery>(m_connection.database());
    statement->setForwardOnly(true);
    if (!statement->prepare(sql))
        throw DbError(statement->lastError().databaseText());
    m_prepared = std::move(statement);
    m_preparedSql = sql;
    return *m_prepared;
}

void Query::close() {
    if (!m_result)
        return;
    m_result.reset();
    m_row = -1;
    m_bof = m_eof = true;
    emit resultChanged();
}

const ResultSet &Query::result() const {
    if (!m_result)
        throw DbError(QStringLiteral("Cannot perform this operation on a closed dataset"));
    return *m_result;
}

// A closed query has no rows: it is empty, stands at both ends, and its moves go nowhere.
bool Query::isEmpty() const {
    return recordCount() == 0;
}

int Query::recordCount() const {
    return m_result ? m_result->rowCount() : 0;
}

bool Query::eof() const {
    return m_eof;
}

bool Query::bof() const {
    return m_bof;
}

int Query::currentRow() const {
    return m_row;
}

// AfterScroll rules: raised after first, after next or prior that moves or that first runs
// into the end in its direction (the row stays), and after going to a bookmark. A move made
// while already standing at the end in that direction raises nothing.
void Query::first() {
    if (!isOpen())
        return;
    if (recordCount() > 0)
        setCurrentRow(0);
    m_bof = true;
    m_eof = recordCount() == 0;
    scrolled();
}

void Query::next() {
    if (eof())
        return;
    if (m_row + 1 < recordCount())
        setCurrentRow(m_row + 1);
    else
        m_eof = true;
    m_bof = false;
    scrolled();
}

void Query::prior() {
    if (bof())
        return;
    if (m_row > 0)
        setCurrentRow(m_row - 1);
    else
        m_bof = true;
    m_eof = false;
    scrolled();
}

void Query::moveTo(int row) {
    if (row < 0 || row >= recordCount() || row == m_row)
        return;
    setCurrentRow(row);
    m_bof = m_eof = false;
    scrolled();
}

Query::Bookmark Query::bookmark() const {
    return m_row;
}

void Query::gotoBookmark(Bookmark bookmark) {
    if (bookmark < 0 || bookmark >= recordCount())
        throw DbError(QStringLiteral("Record not found"));
    setCurrentRow(bookmark);
    m_bof = m_eof = false;
    scrolled();
}

int Query::columnIndex(const QString &name) const {
    const int column = result().columnIndex(name);
    if (column < 0)
        throw DbError(QStringLiteral("Field '%1' not found").arg(name));
    return column;
}

void Query::checkRow(int row) const {
    if (row < 0 || row >= recordCount())
        throw DbError(QStringLiteral("Row %1 lies outside the result of %2 rows")
                          .arg(row)
                          .arg(recordCount()));
}

Field Query::field(const QString &name) const {
    if (!isOpen())
        return {};
    return Field(*m_result, m_row, columnIndex(name));
}

Field Query::fieldAt(int row, const QString &name) const {
    checkRow(row);
    return Field(*m_result, row, columnIndex(name));
}

Field Query::cell(int row, int column) const {
    checkRow(row);
    return Field(*m_result, row, column);
}

int Query::columnCount() const {
    return m_result ? m_result->columnCount() : 0;
}

QString Query::columnName(int column) const {
    if (column < 0 || column >= columnCount())
        throw DbError(QStringLiteral("Column %1 lies outside the result of %2 columns")
                          .arg(column)
                          .arg(columnCount()));
    return m_result->columnName(column);
}

void Query::setCurrentRow(int row) {
    if (row == m_row)
        return;
    m_row = row;
    emit currentRowChanged(row);
}

void Query::scrolled() {
    if (m_afterScroll)
        m_afterScroll(*this);
}
