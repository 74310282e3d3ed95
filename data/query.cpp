#include "query.h"

#include "connection.h"
#include "dberror.h"
#include "engine.h"
#include "sqldialect.h"

#include <algorithm>

// A statement as last run, kept until its text changes: windows rebuild the same statement
// row after row, and neither its translation nor its preparation need repeating.
struct Query::Prepared {
    QString text;      // as the window wrote it
    QStringList names; // its parameters, as parameterNames() finds them
    Engine *engine = nullptr;
    std::unique_ptr<EngineStatement> statement;
    std::vector<int> parameters; // for each marker, its index in m_parameters
};

Query::Query(Connection &connection, QObject *parent) : QObject(parent), m_connection(connection) {}

Query::~Query() = default;

QString Query::fragment(SqlFragment which) const {
    return sqlFragment(which, m_connection.engine().dialect());
}

void Query::clearSql() {
    close();
    m_text.clear();
    m_parameters.clear();
    m_parametersStale = false;
}

// The parameters are found when next needed, not for every line: a statement of forty lines
// would otherwise be searched forty times.
void Query::addLine(const QString &line) {
    close();
    m_text += line + QChar('\n');
    m_parametersStale = true;
}

void Query::findParameters() {
    if (!m_parametersStale)
        return;
    const QStringList names =
        m_prepared && m_prepared->text == m_text ? m_prepared->names : parameterNames(m_text);
    // Values already set for names that remain are kept, as the text grows line by line.
    std::vector<Parameter> parameters;
    for (const QString &name : names) {
        auto kept = std::find_if(m_parameters.begin(), m_parameters.end(), [&](const Parameter &p) {
            return p.name().compare(name, Qt::CaseInsensitive) == 0;
        });
        parameters.push_back(kept != m_parameters.end() ? *kept : Parameter(name));
    }
    m_parameters = std::move(parameters);
    m_parametersStale = false;
}

QString Query::sqlText() const {
    return m_text;
}

Parameter &Query::param(const QString &name) {
    findParameters();
    // Windows set the parameters in the order the statement names them, and write a name as
    // the statement does: the one after the last found is tried first, and names are matched
    // exactly before they are matched regardless of case. With fifty parameters set for each
    // of thousands of rows, each search would otherwise cost more than binding.
    const std::size_t count = m_parameters.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = (m_lastParameter + 1 + i) % count;
        if (m_parameters[at].name() == name) {
            m_lastParameter = at;
            return m_parameters[at];
        }
    }
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
    m_rowsAffected = 0;
    findParameters();
    Prepared &prepared = this->prepared();
    for (std::size_t i = 0; i < prepared.parameters.size(); ++i) {
        const Parameter &parameter = m_parameters.at(std::size_t(prepared.parameters[i]));
        if (!parameter.hasValue())
            throw DbError(
                QStringLiteral("No value given for parameter '%1'").arg(parameter.name()));
        parameter.bindTo(*prepared.statement, int(i) + 1);
    }
    if (!wantsRows) {
        m_rowsAffected = prepared.statement->execute(nullptr);
        return;
    }
    ResultSet result{QStringList()};
    m_rowsAffected = prepared.statement->execute(&result);
    m_result = std::move(result);
    const bool empty = m_result->rowCount() == 0;
    m_row = empty ? -1 : 0;
    m_bof = true;
    m_eof = empty;
    emit resultChanged();
    emit currentRowChanged(m_row);
    if (!empty)
        scrolled();
}

Query::Prepared &Query::prepared() {
    const QString &text = m_text;
    Engine &engine = m_connection.engine();
    if (m_prepared && m_prepared->engine == &engine && m_prepared->text == text)
        return *m_prepared;
    m_prepared.reset();
    const TranslatedStatement translated = translateStatement(text, engine.dialect());
    auto prepared = std::make_unique<Prepared>();
    prepared->text = text;
    prepared->engine = &engine;
    prepared->names = parameterNames(text);
    for (const QString &name : translated.parameterOrder)
        prepared->parameters.push_back(int(&param(name) - m_parameters.data()));
    prepared->statement = engine.prepare(translated.sql);
    m_prepared = std::move(prepared);
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
