#include "testserver.h"

#include "data.h"
#include "postgresengine.h"

#include <QCoreApplication>
#include <libpq-fe.h>

namespace {

QString administration() {
    const QString server = qEnvironmentVariable("GZ_TEST_SERVER");
    if (server.isEmpty())
        qFatal("This is a test of the server engine and no server runs for it: run it through "
               "scripts/with-postgres (scripts/test does).");
    return server;
}

void run(const QString &connectionString, const QStringList &statements) {
    pg_conn *connection = connectToServer(DatabaseAddress::server(connectionString));
    PQsetNoticeProcessor(
        connection, [](void *, const char *) {}, nullptr);
    for (const QString &statement : statements)
        runOnServer(connection, statement);
    PQfinish(connection);
}

} // namespace

bool testsOnServer() {
    return qEnvironmentVariable("GZ_TEST_ENGINE") == QStringLiteral("server");
}

DatabaseAddress freshServerDatabase() {
    static const QString database = [] {
        const QString name = QStringLiteral("gz_test_%1").arg(QCoreApplication::applicationPid());
        run(administration(), {QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name),
                               QStringLiteral("CREATE DATABASE %1").arg(name)});
        return administration() + QStringLiteral(" dbname=") + name;
    }();
    run(database,
        {QStringLiteral("DROP SCHEMA public CASCADE"), QStringLiteral("CREATE SCHEMA public")});
    return DatabaseAddress::server(database);
}

void endProgramSession() {
    Query session(DM->ADC);
    session.addLine("select pg_backend_pid() as pid");
    session.open();
    Connection administrator;
    Query end(administrator);
    end.addLine("select case when pg_terminate_backend(:pid, 60000) then 1 else 0 end as ended");
    end.param("pid").setInteger(session.field("pid").asInteger());
    end.open();
    if (end.field("ended").asInteger() != 1)
        qFatal("The program's session on the test server did not end.");
}
