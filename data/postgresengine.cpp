#include "postgresengine.h"

#include "advisorymonthclaim.h"
#include "dberror.h"
#include "filemark.h"
#include "postgrestypes.h"
#include "resultset.h"
#include "schemaversion.h"
#include "servermessages.h"
#include "serverschema.h"

#include <QScopeGuard>
#include <charconv>
#include <cstring>
#include <libpq-fe.h>
#include <utility>
#include <vector>

namespace {

std::int64_t integerOf(const char *text, int length) {
    std::int64_t value = 0;
    std::from_chars(text, text + length, value);
    return value;
}

bool isNumber(Oid type) {
    switch (type) {
    case booleanType:
    case bigintType:
    case smallintType:
    case integerType:
    case realType:
    case doubleType:
    case numericType:
        return true;
    default:
        return false;
    }
}

void appendValue(ResultSet &rows, pg_result *result, int row, int column, Oid type) {
    if (PQgetisnull(result, row, column)) {
        rows.appendNull();
        return;
    }
    const char *text = PQgetvalue(result, row, column);
    const int length = PQgetlength(result, row, column);
    switch (type) {
    case bigintType:
    case integerType:
    case smallintType:
        rows.appendInteger(integerOf(text, length));
        break;
    case numericType:
        // A sum of amounts is numeric on the server but whole, as SQLite's integer sum is.
        if (std::memchr(text, '.', std::size_t(length)))
            rows.appendReal(std::strtod(text, nullptr));
        else
            rows.appendInteger(integerOf(text, length));
        break;
    case realType:
    case doubleType:
        rows.appendReal(std::strtod(text, nullptr));
        break;
    case booleanType:
        rows.appendInteger(text[0] == 't' ? 1 : 0);
        break;
    default:
        rows.appendText(text, length);
    }
}

void readRows(pg_result *result, ResultSet &out) {
    const int columns = PQnfields(result);
    QStringList names;
    std::vector<Oid> types;
    for (int column = 0; column < columns; ++column) {
        names << QString::fromUtf8(PQfname(result, column));
        types.push_back(PQftype(result, column));
    }
    ResultSet rows(names);
    const int count = PQntuples(result);
    // The whole result is already here: its copy is made at its final size, not by doubling.
    // UTF-8 never takes fewer bytes than UTF-16 takes units, so the bytes give room enough.
    qsizetype textBytes = 0;
    for (int column = 0; column < columns; ++column)
        if (!isNumber(types[std::size_t(column)]))
            for (int row = 0; row < count; ++row)
                textBytes += PQgetlength(result, row, column);
    rows.reserve(std::size_t(count) * std::size_t(columns), textBytes);
    for (int row = 0; row < count; ++row) {
        for (int column = 0; column < columns; ++column)
            appendValue(rows, result, row, column, types[std::size_t(column)]);
        rows.endRow();
    }
    rows.finish();
    out = std::move(rows);
}

class PostgresStatement : public EngineStatement {
public:
    PostgresStatement(PostgresEngine &engine, QString sql)
        : m_engine(engine), m_sql(std::move(sql)) {
        m_engine.preparedName(m_sql);
    }

    void bindNull(int position) override { slot(position) = {}; }
    void bindText(int position, const QString &value) override {
        slot(position) = value.toUtf8();
        // An empty text is a value, not a null: keep it apart from an unset one.
        if (slot(position).isNull())
            slot(position) = QByteArray("");
    }
    void bindInteger(int position, std::int64_t value) override {
        slot(position) = QByteArray::number(qint64(value));
    }
    void bindReal(int position, double value) override {
        slot(position) = QByteArray::number(value, 'g', 17);
    }

    int execute(ResultSet *rows) override {
        const QByteArray name = m_engine.preparedName(m_sql);
        std::vector<const char *> values;
        values.reserve(m_values.size());
        for (const QByteArray &value : m_values)
            values.push_back(value.isNull() ? nullptr : value.constData());
        if (m_engine.isBatching()) {
            if (!rows) {
                m_engine.sendBatched(name, values);
                return 0;
            }
            // A read needs every write before it: the batch goes out first.
            m_engine.endBatch(false);
            const auto resume = qScopeGuard([this] { m_engine.beginBatch(); });
            return execute(rows);
        }
        pg_conn *connection = m_engine.handle();
        const ServerResult result = awaitAnswer(
            connection, PQsendQueryPrepared(connection, name.constData(), int(values.size()),
                                            values.data(), nullptr, nullptr, 0));
        result.checked();
        const int changes = std::atoi(PQcmdTuples(result.get()));
        if (!rows)
            return changes;
        if (PQresultStatus(result.get()) != PGRES_TUPLES_OK)
            throw DbError(QStringLiteral("该语句不返回记录。"));
        readRows(result.get(), *rows);
        return changes;
    }

private:
    QByteArray &slot(int position) {
        if (std::size_t(position) > m_values.size())
            m_values.resize(std::size_t(position));
        return m_values[std::size_t(position) - 1];
    }

    PostgresEngine &m_engine;
    QString m_sql;
    std::vector<QByteArray> m_values; // null for a null
};

// Statements a session keeps prepared; past this many distinct texts, they are all let go.
constexpr qsizetype preparedLimit = 2000;

// Statements sent in a batch before their answers are read: few enough that neither side's
// buffers fill, many enough that the round trips vanish beside the work.
constexpr int batchLength = 500;

} // namespace

PostgresEngine::PostgresEngine(const DatabaseAddress &address, bool upgradesOlderLayout)
    : m_address(address), m_monthClaim(std::make_unique<AdvisoryMonthClaim>(*this)) {
    connect(upgradesOlderLayout, false);
}

PostgresEngine::~PostgresEngine() {
    m_monthClaim.reset();
    PQfinish(m_connection);
}

void PostgresEngine::connect(bool upgradesOlderLayout, bool reconnecting) {
    pg_conn *connection = connectToServer(m_address, reconnecting);
    // Sending never blocks either: what the socket cannot take yet waits in libpq, and the
    // waits of serverlink.h send it.
    PQsetnonblocking(connection, 1);
    m_connection = connection;
    try {
        checkLayout(upgradesOlderLayout, m_address.shownName());
        for (const QString &statement : serverWorksheetStatements())
            execute(statement);
    } catch (...) {
        m_connection = nullptr;
        PQfinish(connection);
        throw;
    }
}

bool PostgresEngine::isConnected() const {
    return m_connection && PQstatus(m_connection) == CONNECTION_OK;
}

pg_conn *PostgresEngine::handle() {
    if (isConnected())
        return m_connection;
    // The statements sent before the loss are gone with it: none after it may land alone.
    if (m_inTransaction || m_batching)
        throw lostInTransactionError();
    PQfinish(std::exchange(m_connection, nullptr));
    m_prepared.clear();
    m_monthClaim->forget();
    connect(false, true);
    return m_connection;
}

void PostgresEngine::checkLayout(bool upgradesOlderLayout, const QString &shownName) {
    const DbError notOurs(QStringLiteral("%1 不是本系统的数据库！").arg(shownName));
    const ServerResult layout = askServer(
        m_connection, QStringLiteral("select application_id, version, %2 from %1 where "
                                     "to_regclass('%1') is not null")
                          .arg(serverLayoutTable, triggerNumberingFound()));
    // A database without the layout table refuses the statement; a connection that broke is
    // no such refusal.
    if (PQstatus(m_connection) != CONNECTION_OK)
        layout.checked();
    if (PQresultStatus(layout.get()) != PGRES_TUPLES_OK || PQntuples(layout.get()) != 1)
        throw notOurs;
    if (std::atoi(PQgetvalue(layout.get(), 0, 0)) != payrollFileMark)
        throw notOurs;
    const int version = std::atoi(PQgetvalue(layout.get(), 0, 1));
    if (version > schemaVersion)
        throw newerLayoutError(shownName, version);
    const bool keysByTrigger = *PQgetvalue(layout.get(), 0, 2) == 't';
    if (!upgradesOlderLayout || (version == schemaVersion && !keysByTrigger))
        return;
    begin();
    try {
        for (const QString &statement : serverUpgradeStatements(version))
            execute(statement);
        commit();
    } catch (...) {
        rollback();
        throw;
    }
}

std::unique_ptr<EngineStatement> PostgresEngine::prepare(const QString &sql) {
    return std::make_unique<PostgresStatement>(*this, sql);
}

QByteArray PostgresEngine::preparedName(const QString &sql) {
    // A new connection knows none of the old one's statements.
    handle();
    if (const auto known = m_prepared.constFind(sql); known != m_prepared.constEnd())
        return *known;
    if (m_batching) {
        // Preparing waits for its answer, which a batch does not.
        endBatch(false);
        const auto resume = qScopeGuard([this] { beginBatch(); });
        return preparedName(sql);
    }
    if (m_prepared.size() >= preparedLimit) {
        execute(QStringLiteral("DEALLOCATE ALL"));
        m_prepared.clear();
    }
    static std::uint64_t counter = 0;
    const QByteArray name = "gz" + QByteArray::number(quint64(++counter));
    pg_conn *connection = handle();
    awaitAnswer(connection,
                PQsendPrepare(connection, name.constData(), sql.toUtf8().constData(), 0, nullptr))
        .checked();
    m_prepared.insert(sql, name);
    return name;
}

void PostgresEngine::execute(const QString &sql) {
    runOnServer(handle(), sql);
}

void PostgresEngine::begin() {
    execute(QStringLiteral("BEGIN"));
    m_inTransaction = true;
}

void PostgresEngine::commit() {
    execute(QStringLiteral("COMMIT"));
    m_inTransaction = false;
}

void PostgresEngine::rollback() {
    m_inTransaction = false;
    // On a lost connection the server has rolled back already.
    if (!isConnected())
        return;
    try {
        askServer(m_connection, QStringLiteral("ROLLBACK"));
    } catch (const DbError &) {
        // A connection that no longer answers is dropped, and its transaction with it.
    }
}

void PostgresEngine::beginBatch() {
    if (m_batching)
        return;
    pg_conn *connection = handle();
    if (PQenterPipelineMode(connection) != 1)
        throw serverFailure(connection, nullptr);
    m_batching = true;
    m_sentInBatch = 0;
    m_batchError.reset();
}

void PostgresEngine::sendBatched(const QByteArray &name, const std::vector<const char *> &values) {
    if (PQsendQueryPrepared(m_connection, name.constData(), int(values.size()), values.data(),
                            nullptr, nullptr, 0) != 1)
        throw serverFailure(m_connection, nullptr);
    if (++m_sentInBatch >= batchLength)
        collectBatch();
}

void PostgresEngine::collectBatch() {
    const auto keep = [this](DbError error) {
        if (!m_batchError)
            m_batchError = std::move(error);
    };
    if (PQpipelineSync(m_connection) != 1) {
        keep(serverFailure(m_connection, nullptr));
        return;
    }
    // Each statement's answers end with a null; the sync's own answer ends the batch.
    int ended = 0;
    try {
        for (;;) {
            pg_result *result = awaitResult(m_connection);
            if (!result) {
                if (++ended > m_sentInBatch || PQstatus(m_connection) != CONNECTION_OK) {
                    keep(serverFailure(m_connection, nullptr));
                    break;
                }
                continue;
            }
            const ServerResult answer(m_connection, result);
            const ExecStatusType status = PQresultStatus(result);
            if (status == PGRES_FATAL_ERROR)
                keep(serverFailure(m_connection, result));
            if (status == PGRES_PIPELINE_SYNC)
                break;
        }
    } catch (const DbError &timedOut) {
        keep(timedOut);
    }
    m_sentInBatch = 0;
}

void PostgresEngine::endBatch(bool discard) {
    if (!m_batching)
        return;
    collectBatch();
    m_batching = false;
    PQexitPipelineMode(m_connection);
    const std::optional<DbError> error = std::exchange(m_batchError, std::nullopt);
    if (!discard && error)
        throw *error;
}

MonthClaim &PostgresEngine::monthClaim() {
    handle();
    return *m_monthClaim;
}
