#include "postgresfloor.h"

#include "postgrestypes.h"

#include <QScopeGuard>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <libpq-fe.h>
#include <stdexcept>

namespace {

[[noreturn]] void fail(pg_conn *connection, const pg_result *result) {
    const char *message = result ? PQresultErrorMessage(result) : PQerrorMessage(connection);
    throw std::runtime_error(std::string("floor: ") + message);
}

// Reads every value of every row as what its column holds; the sum keeps the reading from
// being optimised away.
std::int64_t readRows(const pg_result *result) {
    const int columns = PQnfields(result);
    std::vector<Oid> types;
    for (int column = 0; column < columns; ++column)
        types.push_back(PQftype(result, column));
    std::int64_t sum = 0;
    const int rows = PQntuples(result);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            if (PQgetisnull(result, row, column))
                continue;
            const char *text = PQgetvalue(result, row, column);
            const int length = PQgetlength(result, row, column);
            switch (types[std::size_t(column)]) {
            case bigintType:
            case integerType:
            case smallintType:
            case numericType: {
                std::int64_t value = 0;
                const auto [end, error] = std::from_chars(text, text + length, value);
                sum += end == text + length && error == std::errc()
                           ? value
                           : std::int64_t(std::strtod(text, nullptr));
                break;
            }
            case realType:
            case doubleType:
                sum += std::int64_t(std::strtod(text, nullptr));
                break;
            default:
                sum += length;
            }
        }
    }
    return sum;
}

class Result {
public:
    Result(pg_conn *connection, pg_result *result) : m_result(result) {
        const ExecStatusType status = PQresultStatus(result);
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
            const auto clear = qScopeGuard([result] { PQclear(result); });
            fail(connection, result);
        }
    }
    ~Result() { PQclear(m_result); }
    Result(const Result &) = delete;
    Result &operator=(const Result &) = delete;
    int rowsRead() const {
        readRows(m_result);
        return PQntuples(m_result);
    }

private:
    pg_result *m_result;
};

// "$1 = '202611', $2 = NULL, $3 = 'it''s'": the values the server reports a statement ran
// with, as the type of each place reads them back.
PostgresFloor::Values parseParameters(const QString &detail) {
    PostgresFloor::Values values;
    const QString prefix = QStringLiteral("parameters: ");
    if (!detail.startsWith(prefix))
        return values;
    qsizetype at = prefix.size();
    while (at < detail.size()) {
        at = detail.indexOf(QStringLiteral(" = "), at);
        if (at < 0)
            throw std::runtime_error("floor: unreadable parameters: " + detail.toStdString());
        at += 3;
        if (detail.mid(at, 4) == QLatin1String("NULL")) {
            values.emplace_back();
            at += 4;
        } else {
            QString value;
            for (++at; at < detail.size(); ++at) {
                if (detail.at(at) == QChar('\'')) {
                    if (at + 1 < detail.size() && detail.at(at + 1) == QChar('\'')) {
                        value += QChar('\'');
                        ++at;
                        continue;
                    }
                    ++at;
                    break;
                }
                value += detail.at(at);
            }
            values.emplace_back(value.toUtf8());
        }
        at = detail.indexOf(QStringLiteral(", $"), at);
        if (at < 0)
            break;
    }
    return values;
}

struct TraceContext {
    std::vector<QString> primaries;
    std::vector<QString> details;
};

void receive(void *context, const pg_result *notice) {
    const char *severity = PQresultErrorField(notice, PG_DIAG_SEVERITY_NONLOCALIZED);
    if (!severity || qstrcmp(severity, "LOG") != 0)
        return;
    auto &trace = *static_cast<TraceContext *>(context);
    trace.primaries.push_back(
        QString::fromUtf8(PQresultErrorField(notice, PG_DIAG_MESSAGE_PRIMARY)));
    trace.details.push_back(QString::fromUtf8(PQresultErrorField(notice, PG_DIAG_MESSAGE_DETAIL)));
}

} // namespace

PostgresFloor::~PostgresFloor() {
    for (const QByteArray &name : std::as_const(m_prepared))
        PQclear(PQexec(m_connection, "DEALLOCATE " + name));
}

QByteArray PostgresFloor::prepared(const QString &sql) {
    if (const auto known = m_prepared.constFind(sql); known != m_prepared.constEnd())
        return *known;
    const QByteArray name = "floor" + QByteArray::number(m_prepared.size() + 1);
    const Result result(m_connection, PQprepare(m_connection, name.constData(),
                                                sql.toUtf8().constData(), 0, nullptr));
    m_prepared.insert(sql, name);
    return name;
}

int PostgresFloor::execute(const QByteArray &name, const std::vector<const char *> &values) {
    const Result result(m_connection,
                        PQexecPrepared(m_connection, name.constData(), int(values.size()),
                                       values.data(), nullptr, nullptr, 0));
    return result.rowsRead();
}

int PostgresFloor::run(const QString &sql) {
    const Result result(m_connection, PQexec(m_connection, sql.toUtf8().constData()));
    return result.rowsRead();
}

std::vector<PostgresFloor::Traced> PostgresFloor::trace(const std::function<void()> &action) {
    // The server's messages in its own words, whatever its language, and every statement.
    run(QStringLiteral("set lc_messages = 'C'"));
    run(QStringLiteral("set client_min_messages = log"));
    run(QStringLiteral("set log_statement = 'all'"));
    TraceContext context;
    const PQnoticeReceiver previous = PQsetNoticeReceiver(m_connection, receive, &context);
    {
        // The program's default receiver hands notices to its processor and needs no context.
        const auto restore =
            qScopeGuard([&] { PQsetNoticeReceiver(m_connection, previous, nullptr); });
        action();
    }
    run(QStringLiteral("reset log_statement"));
    run(QStringLiteral("reset client_min_messages"));
    run(QStringLiteral("reset lc_messages"));

    std::vector<Traced> statements;
    for (std::size_t i = 0; i < context.primaries.size(); ++i) {
        const QString &primary = context.primaries[i];
        if (primary.startsWith(QLatin1String("statement: "))) {
            statements.push_back({primary.mid(11), std::nullopt});
        } else if (primary.startsWith(QLatin1String("execute "))) {
            const qsizetype text = primary.indexOf(QLatin1String(": "));
            statements.push_back({primary.mid(text + 2), parseParameters(context.details[i])});
        }
    }
    return statements;
}

std::function<void()> PostgresFloor::replayOf(const std::function<void()> &action) {
    struct Step {
        QString sql;     // run plainly when `name` is empty
        QByteArray name; // the prepared statement
        std::vector<QByteArray> owned;
        std::vector<const char *> values;
    };
    auto steps = std::make_shared<std::vector<Step>>();
    const bool show = qEnvironmentVariableIsSet("BENCH_SHOW_SQL");
    for (const Traced &traced : trace(action)) {
        if (show)
            std::fprintf(stderr, "    %s\n", qPrintable(traced.sql.simplified().left(160)));
        Step step;
        if (!traced.values) {
            step.sql = traced.sql;
        } else {
            step.name = prepared(traced.sql);
            for (const std::optional<QByteArray> &value : *traced.values)
                step.owned.push_back(value.value_or(QByteArray()));
            for (std::size_t v = 0; v < step.owned.size(); ++v)
                step.values.push_back((*traced.values)[v] ? step.owned[v].constData() : nullptr);
        }
        steps->push_back(std::move(step));
    }
    return [this, steps] {
        for (const Step &step : *steps) {
            if (step.name.isEmpty())
                run(step.sql);
            else
                execute(step.name, step.values);
        }
    };
}
