#include "sqliteengine.h"

#include "dberror.h"
#include "filemark.h"
#include "filemessages.h"
#include "ofdmonthclaim.h"
#include "pinyinorder.h"
#include "resultset.h"
#include "schemaupgrade.h"
#include "schemaversion.h"
#include "sqlitehandle.h"
#include "sqliteworksheet.h"

#include <QDir>
#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>
#include <sqlite3.h>

namespace {

class SqliteStatement : public EngineStatement {
public:
    SqliteStatement(sqlite3 *engine, const QString &sql,
                    std::shared_ptr<ResultSizes::Size> lastSize)
        : m_engine(engine), m_lastSize(std::move(lastSize)) {
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(engine, utf8.constData(), int(utf8.size()), &m_statement, nullptr) !=
            SQLITE_OK)
            throw failure();
        if (!m_statement)
            throw DbError(QStringLiteral("The statement is empty"));
    }
    ~SqliteStatement() override { sqlite3_finalize(m_statement); }
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    void bindNull(int position) override { check(sqlite3_bind_null(m_statement, position)); }
    void bindText(int position, const QString &value) override {
        const QByteArray utf8 = value.toUtf8();
        check(sqlite3_bind_text(m_statement, position, utf8.constData(), int(utf8.size()),
                                SQLITE_TRANSIENT));
    }
    void bindInteger(int position, std::int64_t value) override {
        check(sqlite3_bind_int64(m_statement, position, value));
    }
    void bindReal(int position, double value) override {
        check(sqlite3_bind_double(m_statement, position, value));
    }

    int execute(ResultSet *rows) override {
        // Whatever happens, the statement lets go of the file before the handler goes on.
        const auto release = qScopeGuard([this] { sqlite3_reset(m_statement); });
        int step = sqlite3_step(m_statement);
        if (step != SQLITE_ROW && step != SQLITE_DONE)
            throw failure();
        const int changes = sqlite3_changes(m_engine);
        if (!rows)
            return changes;
        const int columns = sqlite3_column_count(m_statement);
        if (columns == 0)
            throw DbError(QStringLiteral("The statement does not return rows"));
        QStringList names;
        for (int column = 0; column < columns; ++column)
            names << QString::fromUtf8(sqlite3_column_name(m_statement, column));
        ResultSet result(names);
        result.reserve(m_lastSize->cells, m_lastSize->textUnits);
        for (; step == SQLITE_ROW; step = sqlite3_step(m_statement)) {
            for (int column = 0; column < columns; ++column)
                appendValue(result, column);
            result.endRow();
        }
        if (step != SQLITE_DONE)
            throw failure();
        *m_lastSize = {result.cellCount(), result.textUnits()};
        result.finish();
        *rows = std::move(result);
        return changes;
    }

private:
    void appendValue(ResultSet &result, int column) const {
        switch (sqlite3_column_type(m_statement, column)) {
        case SQLITE_NULL:
            result.appendNull();
            break;
        case SQLITE_INTEGER:
            result.appendInteger(sqlite3_column_int64(m_statement, column));
            break;
        case SQLITE_FLOAT:
            result.appendReal(sqlite3_column_double(m_statement, column));
            break;
        default:
            result.appendText(
                reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column)),
                sqlite3_column_bytes(m_statement, column));
        }
    }
    DbError failure() const {
        return sqliteFailure(sqlite3_extended_errcode(m_engine),
                             QString::fromUtf8(sqlite3_errmsg(m_engine)));
    }
    void check(int status) const {
        if (status != SQLITE_OK)
            throw failure();
    }

    sqlite3 *m_engine;
    sqlite3_stmt *m_statement = nullptr;
    std::shared_ptr<ResultSizes::Size> m_lastSize;
};

} // namespace

SqliteEngine::SqliteEngine(const QString &fileName, bool upgradesOlderLayout)
    : m_fileName(fileName), m_path(QDir::current().absoluteFilePath(fileName)),
      m_connectionName(QStringLiteral("gz-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    auto forget = qScopeGuard([this, &db] {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
    });
    // mode=rw: SQLite must not create a missing file; the set-up tool makes it.
    QUrl uri = QUrl::fromLocalFile(m_path);
    uri.setQuery(QStringLiteral("mode=rw"));
    db.setDatabaseName(uri.toString(QUrl::FullyEncoded));
    // A second program working on the same file holds its lock briefly: wait for it.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        // The engine's words alone; Qt would add its own "Error opening database".
        throw sqliteFailure(db, db.lastError());
    }
    claimPayrollFile(db, m_fileName);
    const int version = checkedLayoutVersion();
    if (upgradesOlderLayout && version >= 1 && version < schemaVersion)
        upgradeLayout(db, m_path, version);
    usePinyinOrder(db);
    createConnectionWorksheet(db);
    forget.dismiss();
}

SqliteEngine::~SqliteEngine() {
    QSqlDatabase::database(m_connectionName, false).close();
    QSqlDatabase::removeDatabase(m_connectionName);
    // Only now: the claims' descriptor is one of the database file, and closing it would drop
    // the locks the engine holds on the file (see ofdmonthclaim.h).
    m_monthClaim.reset();
}

bool SqliteEngine::isOpen() const {
    return QSqlDatabase::database(m_connectionName, false).isOpen();
}

QSqlDatabase SqliteEngine::database() const {
    return QSqlDatabase::database(m_connectionName, false);
}

std::unique_ptr<EngineStatement> SqliteEngine::prepare(const QString &sql) {
    return std::make_unique<SqliteStatement>(sqliteHandle(database()), sql, m_resultSizes.of(sql));
}

void SqliteEngine::execute(const QString &sql) {
    QSqlQuery query(database());
    if (!query.exec(sql))
        throw sqliteFailure(database(), query.lastError());
}

void SqliteEngine::begin() {
    QSqlDatabase db = database();
    if (!db.transaction())
        throw sqliteFailure(db, db.lastError());
}

void SqliteEngine::commit() {
    QSqlDatabase db = database();
    if (!db.commit())
        throw sqliteFailure(db, db.lastError());
}

void SqliteEngine::rollback() {
    database().rollback();
}

MonthClaim &SqliteEngine::monthClaim() {
    if (!m_monthClaim)
        m_monthClaim = std::make_unique<OfdMonthClaim>(m_path);
    return *m_monthClaim;
}

int SqliteEngine::checkedLayoutVersion() {
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("pragma user_version")) || !query.next())
        throw sqliteFailure(database(), query.lastError());
    const int version = query.value(0).toInt();
    if (version > schemaVersion)
        throw newerLayoutError(m_fileName, version);
    return version;
}
