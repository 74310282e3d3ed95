#include "serverbenchdatabase.h"

#include "postgresengine.h"

#include <QCoreApplication>
#include <QScopeGuard>
#include <libpq-fe.h>
#include <stdexcept>

namespace {

// The connection string with its database replaced, in whichever form it was written.
QString withDatabase(const QString &connectionString, const QString &database) {
    char *error = nullptr;
    PQconninfoOption *options = PQconninfoParse(connectionString.toUtf8().constData(), &error);
    if (!options) {
        const std::string reason = error ? error : "cannot read it";
        PQfreemem(error);
        throw std::runtime_error("the server's connection string: " + reason);
    }
    const auto free = qScopeGuard([options] { PQconninfoFree(options); });
    QStringList settings;
    for (const PQconninfoOption *option = options; option->keyword; ++option) {
        if (!option->val || qstrcmp(option->keyword, "dbname") == 0)
            continue;
        settings << QStringLiteral("%1='%2'").arg(
            QString::fromUtf8(option->keyword),
            QString::fromUtf8(option->val).replace('\\', "\\\\").replace('\'', "\\'"));
    }
    settings << QStringLiteral("dbname=") + database;
    return settings.join(' ');
}

} // namespace

ServerBenchDatabase::ServerBenchDatabase(QString administration)
    : m_administration(std::move(administration)),
      m_name(QStringLiteral("gz_bench_%1").arg(QCoreApplication::applicationPid())),
      m_address(DatabaseAddress::server(withDatabase(m_administration, m_name))) {
    runAsAdministrator(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(m_name));
    runAsAdministrator(QStringLiteral("CREATE DATABASE %1").arg(m_name));
}

ServerBenchDatabase::~ServerBenchDatabase() {
    try {
        runAsAdministrator(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name));
    } catch (const std::exception &failure) {
        std::fprintf(stderr, "bench_scale: %s left on the server: %s\n", qPrintable(m_name),
                     failure.what());
    }
}

void ServerBenchDatabase::runAsAdministrator(const QString &sql) const {
    pg_conn *connection = connectToServer(DatabaseAddress::server(m_administration));
    const auto finish = qScopeGuard([connection] { PQfinish(connection); });
    PQsetNoticeProcessor(
        connection, [](void *, const char *) {}, nullptr);
    runOnServer(connection, sql);
}
