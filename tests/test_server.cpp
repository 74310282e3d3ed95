// What only a database server has: choosing it, setting it up, moving a file's payroll to it,
// its tables kept equal to the file's, clerks' month claims that die with their connection, a
// server that goes away or stops answering, and passwords that are never shown. (Everything
// the windows do runs on the server in the "_server" tests.)
#include "advisorymonthclaim.h"
#include "connection.h"
#include "data.h"
#include "databasesetup.h"
#include "dberror.h"
#include "gztj.h"
#include "modulerun.h"
#include "postgresengine.h"
#include "schematables.h"
#include "schemaversion.h"
#include "serverschema.h"
#include "serversetup.h"
#include "sjcx.h"
#include "spinedit.h"
#include "testserver.h"
#include "workspace.h"
#include "writebatch.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstring>
#include <libpq-fe.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// One connection to the test server's database, closed when it goes.
class ServerSession {
public:
    explicit ServerSession(const DatabaseAddress &address) : m_handle(connectToServer(address)) {
        PQsetNoticeProcessor(
            m_handle, [](void *, const char *) {}, nullptr);
    }
    ~ServerSession() { PQfinish(m_handle); }
    ServerSession(const ServerSession &) = delete;
    ServerSession &operator=(const ServerSession &) = delete;

    pg_conn *handle() const { return m_handle; }
    void run(const QString &sql) const { runOnServer(m_handle, sql); }
    // The rows of a statement, each as its values joined by "|".
    QStringList rows(const QString &sql) const {
        const ServerResult result(m_handle, PQexec(m_handle, sql.toUtf8().constData()));
        result.checked();
        QStringList rows;
        for (int row = 0; row < PQntuples(result.get()); ++row) {
            QStringList values;
            for (int column = 0; column < PQnfields(result.get()); ++column)
                values << QString::fromUtf8(PQgetvalue(result.get(), row, column));
            rows << values.join(QChar('|'));
        }
        return rows;
    }

private:
    pg_conn *m_handle;
};

// Every row of the open query, all its columns.
QStringList resultRows(const Query &query) {
    QStringList rows;
    for (int row = 0; row < query.recordCount(); ++row) {
        QStringList values;
        for (int column = 0; column < query.columnCount(); ++column)
            values << query.cell(row, column).asString();
        rows << values.join(QChar('|'));
    }
    return rows;
}

// A server's socket in a folder of its own that takes every connection (the system does, into
// its backlog) and never answers one: a server that hangs.
class SilentServer {
public:
    SilentServer() {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        // libpq's name for a server's socket in a folder.
        const QByteArray path = m_folder.filePath(".s.PGSQL.5432").toLocal8Bit();
        std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
        m_socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::bind(m_socket, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0 ||
            ::listen(m_socket, 16) != 0)
            qFatal("cannot listen on %s", path.constData());
    }
    ~SilentServer() { ::close(m_socket); }
    SilentServer(const SilentServer &) = delete;
    SilentServer &operator=(const SilentServer &) = delete;

    QString connectionString() const {
        return QStringLiteral("host=%1 dbname=payroll").arg(m_folder.path());
    }

private:
    QTemporaryDir m_folder;
    int m_socket = -1;
};

// The failure of running `sql` on `connection`; a plain "no error" when it succeeded.
DbError failureOf(Connection &connection, const QString &sql) {
    Query query(connection);
    query.addLine(sql);
    try {
        query.execSql();
    } catch (const DbError &error) {
        return error;
    }
    return DbError(QStringLiteral("no error"));
}

qint64 valueOf(Connection &connection, const QString &sql) {
    Query query(connection);
    query.addLine(sql);
    query.open();
    return query.cell(0, 0).asInteger();
}

// What a clerk reads: Chinese first, the server's own words at most on a line of their own,
// and never a mark of punctuation doubled where two texts were joined.
void verifyClerksText(const QString &text, const QString &firstLine) {
    QVERIFY2(text.section(QChar('\n'), 0, 0).startsWith(firstLine), qPrintable(text));
    static const QRegularExpression doubled(
        QStringLiteral("[。！？；，：.!?;,:][。！？；，：.!?;,:]"));
    QVERIFY2(!text.contains(doubled), qPrintable(text));
}

qint64 sessionOf(Connection &clerk) {
    return valueOf(clerk, "select pg_backend_pid()");
}

// Ends a clerk's session on the server as a restart would, and waits until it has ended.
void endSession(const ServerSession &administrator, qint64 session) {
    QCOMPARE(
        administrator.rows(QStringLiteral("select pg_terminate_backend(%1, 60000)").arg(session)),
        QStringList{"t"});
}

void writeSettings(const QString &folder, const QString &text) {
    QFile file(folder + QStringLiteral("/gzgl.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

// Numbers the keys the way a database made by the earlier program did: one past the largest,
// computed by a trigger, which two sessions inserting at once both compute alike.
void numberKeysByTrigger(const ServerSession &session) {
    const int numberedByTriggerUpTo = 2; // the last layout the earlier program knew
    const QStringList laterTables = tablesCreatedAfterVersion(numberedByTriggerUpTo);
    for (const QString &trigger : triggersCreatedAfterVersion(numberedByTriggerUpTo))
        session.run(
            QStringLiteral("drop function if exists %1(), %1_truncate() cascade").arg(trigger));
    if (!laterTables.isEmpty())
        session.run("drop table " + laterTables.join(", "));
    session.run(QStringLiteral("update %1 set version = %2")
                    .arg(serverLayoutTable)
                    .arg(numberedByTriggerUpTo));
    session.run("CREATE FUNCTION gz_next_number() RETURNS trigger LANGUAGE plpgsql AS $body$ "
                "DECLARE next_number bigint; BEGIN IF to_jsonb(NEW) ->> TG_ARGV[0] IS NULL THEN "
                "EXECUTE format('SELECT coalesce(max(%I), 0) + 1 FROM %I.%I', TG_ARGV[0], "
                "TG_TABLE_SCHEMA, TG_TABLE_NAME) INTO next_number; NEW := "
                "jsonb_populate_record(NEW, jsonb_build_object(TG_ARGV[0], next_number)); END IF; "
                "RETURN NEW; END $body$");
    const QList<std::pair<QString, QString>> numbered{
        {"bmzd", "bh"},  {"ygzd", "bh"},  {"gzxmzd", "bh"}, {"gzxmjs", "xmbh"},
        {"gsslb", "bh"}, {"ygjs", "ygh"}, {"ygzxkc", "bh"}};
    for (const auto &[table, key] : numbered)
        session.run(QStringLiteral("ALTER TABLE %1 ALTER COLUMN %2 DROP IDENTITY; CREATE TRIGGER "
                                   "%1_number BEFORE INSERT ON %1 FOR EACH ROW EXECUTE FUNCTION "
                                   "gz_next_number('%2')")
                        .arg(table, key));
}

// The key a department gets from an insert that leaves it out.
QString insertDepartment(const ServerSession &session, const QString &name) {
    return session.rows(
        QStringLiteral("insert into BMZD (mc) values ('%1') returning bh").arg(name))[0];
}

// Waits until the statement `session` sent has either finished or stands waiting for a lock
// another session holds: then that other session's next step certainly comes after it.
void waitUntilFinishedOrBlocked(const ServerSession &session, const ServerSession &monitor) {
    const QString waiting =
        QStringLiteral("select count(*) from pg_locks where pid = %1 and not granted")
            .arg(PQbackendPID(session.handle()));
    while (PQconsumeInput(session.handle()) && PQisBusy(session.handle()) &&
           monitor.rows(waiting) == QStringList{"0"}) {
    }
}

int runSetup(const QStringList &arguments, QString *errors = nullptr) {
    QProcess tool;
    tool.start(QStringLiteral(GZDB_SETUP), arguments);
    tool.waitForFinished(120000);
    if (errors)
        *errors = QString::fromUtf8(tool.readAllStandardError());
    return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
}

} // namespace

class ServerTest : public QObject {
    Q_OBJECT
private slots:
    void configurationChoosesTheDatabase_data();
    void configurationChoosesTheDatabase();
    void passwordIsNeverShown_data();
    void passwordIsNeverShown();
    void refusalsReadInChinese_data();
    void refusalsReadInChinese();
    void serverThatNeverAnswersIsGivenUpOn();
    void statementsHaveATimeLimit_data();
    void statementsHaveATimeLimit();
    void lostConnectionIsSaidAndMadeAnew();
    void batchCutByALostConnectionLandsNothing();
    void serverTablesAreTheFilesTables();
    void setupTakesOnlyAnEmptyDatabase();
    void olderLayoutIsBroughtUpToDate();
    void keysOfSimultaneousInsertsDiffer_data();
    void keysOfSimultaneousInsertsDiffer();
    void copiedOfficeShowsTheSameFigures();
    void monthClaimsEndWithTheirConnection();
};

void ServerTest::configurationChoosesTheDatabase_data() {
    QTest::addColumn<QString>("ini");         // gzgl.ini's text, none when empty
    QTest::addColumn<QString>("environment"); // GZGL_DATABASE
    QTest::addColumn<bool>("server");
    QTest::addColumn<QString>("location");

    const QString ini = "[database]\nserver=postgresql://clerk@payroll-host/payroll\n";
    QTest::newRow("nothing: the file") << ""
                                       << "" << false << "GZDB.mdb";
    QTest::newRow("gzgl.ini") << ini << "" << true << "postgresql://clerk@payroll-host/payroll";
    QTest::newRow("the environment wins")
        << ini << "host=/run/other dbname=test" << true << "host=/run/other dbname=test";
    QTest::newRow("gzgl.ini without a server") << "[database]\n"
                                               << "" << false << "GZDB.mdb";
}

void ServerTest::configurationChoosesTheDatabase() {
    QFETCH(QString, ini);
    QFETCH(QString, environment);
    QFETCH(bool, server);
    QFETCH(QString, location);
    Workspace workspace(Workspace::Database::None);
    if (!ini.isEmpty()) {
        QFile file(workspace.path() + "/gzgl.ini");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ini.toUtf8());
    }
    qputenv("GZGL_DATABASE", environment.toUtf8());
    const auto unset = qScopeGuard([] { qunsetenv("GZGL_DATABASE"); });
    const DatabaseAddress address = DatabaseAddress::configured();
    QCOMPARE(address.isServer(), server);
    QCOMPARE(address.location(), location);
}

void ServerTest::passwordIsNeverShown_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("shown"); // none for a string libpq cannot read

    QTest::newRow("URI") << "postgresql://clerk:SECRET14@/payroll?host=/nonexistent"
                         << "user=clerk dbname=payroll host=/nonexistent";
    QTest::newRow("URI, password as a parameter")
        << "postgresql:///payroll?host=/nonexistent&password=SECRET14"
        << "dbname=payroll host=/nonexistent";
    QTest::newRow("keywords, a quoted password with a space")
        << "host=/nonexistent dbname=payroll password='SECRET SECRET14'"
        << "dbname=payroll host=/nonexistent";
    QTest::newRow("URI with an unclosed address") << "postgresql://clerk:SECRET14@[::1/payroll"
                                                  << "";
    QTest::newRow("URI with an unknown parameter")
        << "postgresql://clerk:SECRET14@/payroll?hots=/nonexistent"
        << "";
    QTest::newRow("keywords, a password with a space unquoted")
        << "host=/nonexistent password=SECRET SECRET14"
        << "";
    QTest::newRow("keywords, an unknown keyword") << "host=/nonexistent passwd=SECRET14"
                                                  << "";
}

// Not in the address as shown, not in the program's error, not on the set-up tool's output,
// whatever the string looks like.
void ServerTest::passwordIsNeverShown() {
    QFETCH(QString, address);
    QFETCH(QString, shown);
    Workspace workspace(Workspace::Database::None);
    const DatabaseAddress server = DatabaseAddress::server(address);
    QCOMPARE(server.isReadable(), !shown.isEmpty());
    if (server.isReadable())
        QCOMPARE(server.shownName(), shown);
    QVERIFY(!server.shownName().contains("SECRET"));

    Connection connection(server);
    const DbError error = failureOf(connection, "select * from BMZD");
    if (shown.isEmpty()) {
        verifyClerksText(error.text(), "数据库服务器的连接串");
    } else {
        verifyClerksText(error.text(), "无法连接数据库服务器");
        QVERIFY2(error.text().contains(shown), qPrintable(error.text()));
    }
    QVERIFY2(!error.text().contains("SECRET"), qPrintable(error.text()));
    QVERIFY(!connection.isConnected());

    QString errors;
    QCOMPARE(runSetup({"--server", address}, &errors), 1);
    QVERIFY2(!errors.isEmpty() && !errors.contains("SECRET"), qPrintable(errors));
}

void ServerTest::refusalsReadInChinese_data() {
    QTest::addColumn<QString>("addition"); // to the test database's connection string
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<QString>("serverWords");

    QTest::newRow("a key taken twice")
        << ""
        << QStringList{"insert into BMZD (bh, mc) values (1, '办公室')",
                       "insert into BMZD (bh, mc) values (1, '财务科')"}
        << "要保存的记录与数据库中已有的记录重复，没有保存。"
        << "duplicate key";
    QTest::newRow("a statement the server cannot run")
        << "" << QStringList{"select * from no_such_table"} << "数据库服务器拒绝了本次操作"
        << "does not exist";
    QTest::newRow("no such database") << " dbname=gz_no_such_database" << QStringList{"select 1"}
                                      << "数据库服务器上没有连接串所指的数据库。"
                                      << "gz_no_such_database";
    QTest::newRow("no such role") << " user=gz_no_such_clerk" << QStringList{"select 1"}
                                  << "数据库服务器拒绝登录"
                                  << "gz_no_such_clerk";
}

void ServerTest::refusalsReadInChinese() {
    QFETCH(QString, addition);
    QFETCH(QStringList, statements);
    QFETCH(QString, firstLine);
    QFETCH(QString, serverWords);
    Workspace workspace(Workspace::Database::None);
    const DatabaseAddress server = freshServerDatabase();
    createServerStructure(server);
    Connection connection(DatabaseAddress::server(server.location() + addition));
    const QString last = statements.takeLast();
    for (const QString &statement : statements)
        QVERIFY(failureOf(connection, statement).text() == "no error");
    const DbError error = failureOf(connection, last);
    QCOMPARE(error.kind(), DbError::Kind::Refused);
    verifyClerksText(error.text(), firstLine);
    QVERIFY2(error.text().section(QChar('\n'), -1).contains(serverWords), qPrintable(error.text()));
}

// A server that takes the connection and never says a word: the program and the set-up tool
// give up after gzgl.ini's connect_timeout and say so, instead of waiting for ever.
void ServerTest::serverThatNeverAnswersIsGivenUpOn() {
    Workspace workspace(Workspace::Database::None);
    const SilentServer silent;
    const QString silentServer = silent.connectionString();
    writeSettings(workspace.path(),
                  QStringLiteral("[database]\nserver=%1\nconnect_timeout=2\n").arg(silentServer));

    Connection connection;
    QCOMPARE(connection.address().timeouts().connectSeconds, 2);
    const DbError error = failureOf(connection, "select * from BMZD");
    verifyClerksText(error.text(), "数据库服务器在限定时间内没有应答，无法连接。");
    QVERIFY(!connection.isConnected());

    QString errors;
    QCOMPARE(runSetup({"--server", silentServer}, &errors), 1);
    QVERIFY2(errors.contains("数据库服务器在限定时间内没有应答"), qPrintable(errors));
}

void ServerTest::statementsHaveATimeLimit_data() {
    QTest::addColumn<bool>("serverStops");
    QTest::addColumn<QString>("firstLine");

    QTest::newRow("a statement runs too long: the server cancels it, the session stays")
        << false << "数据库服务器未能在限定时间内完成本次操作，操作已取消";
    QTest::newRow("the server stops answering: the connection is dropped and made anew")
        << true << "数据库服务器在 2 秒内没有应答，连接已断开";
}

// gzgl.ini's statement_timeout holds on the server and, for a server that does not answer at
// all, on this side; either way the clerk is told and the next statement runs.
void ServerTest::statementsHaveATimeLimit() {
    QFETCH(bool, serverStops);
    QFETCH(QString, firstLine);
    Workspace workspace(Workspace::Database::None);
    const DatabaseAddress server = freshServerDatabase();
    createServerStructure(server);
    ServerTimeouts timeouts;
    timeouts.connectSeconds = 1;
    timeouts.statementSeconds = 1;
    Connection connection(DatabaseAddress::server(server.location(), timeouts));
    const qint64 session = sessionOf(connection);
    // A stopped server process is one that has the connection and never answers.
    if (serverStops)
        QCOMPARE(::kill(pid_t(session), SIGSTOP), 0);
    const auto resume = qScopeGuard([&] {
        if (serverStops)
            ::kill(pid_t(session), SIGCONT);
    });
    const DbError error = failureOf(connection, "select pg_sleep(30)");
    QCOMPARE(error.kind(), DbError::Kind::TimedOut);
    verifyClerksText(error.text(), firstLine);
    QCOMPARE(connection.sessionEnded(), serverStops);
    QCOMPARE(valueOf(connection, "select 1 + 1"), 2);
    QCOMPARE(sessionOf(connection) == session, !serverStops);
}

// The server ends the clerk's session as a restart would: the clerk reads that the connection
// was lost, the next statement makes a new one with a worksheet of its own, and a month is
// claimed for real again. A transaction cut in half stays failed until it is rolled back.
void ServerTest::lostConnectionIsSaidAndMadeAnew() {
    Workspace workspace(Workspace::Database::None);
    const DatabaseAddress server = freshServerDatabase();
    createServerStructure(server);
    const ServerSession administrator(server);
    Connection clerk(server);
    Connection other(server);
    QVERIFY(clerk.monthClaim().claim("202611"));
    endSession(administrator, sessionOf(clerk));

    const DbError lost = failureOf(clerk, "select count(*) from Temp_GZB");
    QCOMPARE(lost.kind(), DbError::Kind::ConnectionLost);
    QVERIFY(clerk.sessionEnded());
    verifyClerksText(lost.text(), "与数据库服务器的连接已断开");
    QVERIFY2(lost.text().section(QChar('\n'), 1).contains("terminating connection"),
             qPrintable(lost.text()));
    QCOMPARE(valueOf(clerk, "select count(*) from Temp_GZB"), 0);
    QVERIFY(!clerk.sessionEnded());
    QVERIFY(clerk.monthClaim().claim("202611"));
    QVERIFY2(!other.monthClaim().claim("202611"), "the new connection holds the month again");

    clerk.engine().begin();
    failureOf(clerk, "insert into BMZD (mc) values ('办公室')");
    endSession(administrator, sessionOf(clerk));
    QCOMPARE(failureOf(clerk, "insert into BMZD (mc) values ('财务科')").kind(),
             DbError::Kind::ConnectionLost);
    QCOMPARE(failureOf(clerk, "select 1").kind(), DbError::Kind::ConnectionLost);
    clerk.engine().rollback();
    QCOMPARE(valueOf(clerk, "select count(*) from BMZD"), 0);
}

// A batch whose connection is lost half-way is not carried on on a new connection: none of its
// rows land, neither those sent before the loss nor those after it.
void ServerTest::batchCutByALostConnectionLandsNothing() {
    Workspace workspace(Workspace::Database::None);
    const DatabaseAddress server = freshServerDatabase();
    createServerStructure(server);
    const ServerSession administrator(server);
    Connection clerk(server);
    const qint64 session = sessionOf(clerk);
    Query insert(clerk);
    insert.addLine("insert into BMZD (mc) values (:mc)");
    try {
        WriteBatch batch(clerk);
        for (int row = 0; row < 1200; ++row) {
            if (row == 100)
                endSession(administrator, session);
            insert.param("mc").setText(QString::number(row));
            insert.execSql();
        }
        batch.finish();
        QFAIL("the batch landed");
    } catch (const DbError &lost) {
        QCOMPARE(lost.kind(), DbError::Kind::ConnectionLost);
    }
    QCOMPARE(administrator.rows("select count(*) from BMZD"), QStringList{"0"});
}

// One description makes both: the same tables with the same columns in the same order, numbers
// as numbers, texts as texts, and the names lists are sorted by in pinyin order on both.
void ServerTest::serverTablesAreTheFilesTables() {
    QTemporaryDir folder;
    DatabaseSetup::createDatabase(folder.path(), DatabaseSetup::Contents::Empty);
    QStringList onFile;
    {
        QSqlDatabase file = QSqlDatabase::addDatabase("QSQLITE", "file");
        file.setDatabaseName(folder.filePath("GZDB.mdb"));
        QVERIFY(file.open());
        QSqlQuery query(
            "select lower(m.name), lower(c.name), c.type, instr(lower(m.sql), lower(c.name) || ' "
            "text collate nocase') > 0 from sqlite_master as m, pragma_table_info(m.name) as c "
            "where m.type = 'table' order by lower(m.name), c.cid",
            file);
        while (query.next())
            onFile << QStringList{query.value(0).toString(), query.value(1).toString(),
                                  query.value(2).toString() == "INTEGER" ? "number" : "text",
                                  query.value(3).toBool() ? "pinyin" : ""}
                          .join('|');
        file.close();
    }
    QSqlDatabase::removeDatabase("file");

    const DatabaseAddress server = freshServerDatabase();
    createServerStructure(server);
    const ServerSession session(server);
    const QStringList onServer = session.rows(
        QStringLiteral("select table_name, column_name, case when data_type = 'bigint' then "
                       "'number' else 'text' end, case when collation_name = 'zh-x-icu' then "
                       "'pinyin' else '' end from information_schema.columns where table_schema "
                       "= current_schema() and table_name <> '%1' order by table_name, "
                       "ordinal_position")
            .arg(serverLayoutTable));
    QVERIFY(onFile.size() > 100);
    QCOMPARE(onServer, onFile);
    QCOMPARE(session.rows(
                 QStringLiteral("select application_id, version from %1").arg(serverLayoutTable)),
             QStringList{QStringLiteral("1197098050|%1").arg(schemaVersion)});
}

// A database that already holds tables is never touched; an empty one gets the payroll's, and
// the demonstration organisation with them.
void ServerTest::setupTakesOnlyAnEmptyDatabase() {
    const DatabaseAddress server = freshServerDatabase();
    const ServerSession session(server);
    session.run("create table someone_elses (x integer)");
    QString errors;
    QCOMPARE(runSetup({"--server", server.location()}, &errors), 1);
    QVERIFY2(errors.contains("already holds 1 table(s); it is left as it is"), qPrintable(errors));
    QCOMPARE(session.rows("select count(*) from pg_tables where schemaname = 'public'"),
             QStringList{"1"});

    session.run("drop table someone_elses");
    QCOMPARE(runSetup({"--demo", "--server", server.location()}, &errors), 0);
    QCOMPARE(session.rows("select mc from BMZD order by mc"),
             (QStringList{"办公室", "财务科", "技术部", "销售部"}));
    QCOMPARE(session.rows("select count(distinct ny) from GZB"), QStringList{"11"});
}

// A database of the first layout gets the later tables, and the new version, when the
// program's own connection first reaches it; any other connection leaves it as it is.
void ServerTest::olderLayoutIsBroughtUpToDate() {
    const DatabaseAddress server = freshServerDatabase();
    createServerStructure(server);
    const ServerSession session(server);
    const QStringList laterTables = tablesCreatedAfterVersion(1);
    for (const QString &trigger : triggersCreatedAfterVersion(1))
        session.run(
            QStringLiteral("drop function if exists %1(), %1_truncate() cascade").arg(trigger));
    session.run("drop table " + laterTables.join(", "));
    session.run(QStringLiteral("update %1 set version = 1").arg(serverLayoutTable));
    const QString tables = "select count(*) from pg_tables where schemaname = 'public'";
    {
        Connection other(server);
        other.engine();
    }
    const int firstLayoutTables = 6;
    QCOMPARE(session.rows(tables), QStringList{QString::number(firstLayoutTables)});
    Connection program(server);
    program.upgradeOlderLayoutOnConnect();
    program.engine();
    QCOMPARE(session.rows(tables),
             QStringList{QString::number(firstLayoutTables + laterTables.size())});
    QCOMPARE(session.rows(QStringLiteral("select version from %1").arg(serverLayoutTable)),
             QStringList{QString::number(schemaVersion)});
    QCOMPARE(session.rows("select count(*) from GSSLB"), QStringList{"7"});
}

void ServerTest::keysOfSimultaneousInsertsDiffer_data() {
    QTest::addColumn<bool>("madeByEarlierProgram");
    QTest::newRow("new database") << false;
    QTest::newRow("database numbered by a trigger, upgraded") << true;
}

// Two clerks add a department at the same moment: the first one's transaction is still open
// when the second inserts. Both land, with keys of their own that follow the stored ones.
void ServerTest::keysOfSimultaneousInsertsDiffer() {
    QFETCH(bool, madeByEarlierProgram);
    const DatabaseAddress server = freshServerDatabase();
    createServerStructure(server);
    const ServerSession first(server);
    if (madeByEarlierProgram)
        numberKeysByTrigger(first);
    QCOMPARE(insertDepartment(first, "办公室"), "1");
    QCOMPARE(insertDepartment(first, "财务科"), "2");
    {
        Connection program(server);
        program.upgradeOlderLayoutOnConnect();
        program.engine();
    }
    QCOMPARE(first.rows("select count(*) from pg_proc where proname = 'gz_next_number'"),
             QStringList{"0"});

    const ServerSession second(server);
    const ServerSession monitor(server);
    first.run("begin");
    const QString firstKey = insertDepartment(first, "技术部");
    QVERIFY(PQsendQuery(second.handle(), "insert into BMZD (mc) values ('销售部') returning bh"));
    waitUntilFinishedOrBlocked(second, monitor);
    first.run("commit");
    const ServerResult secondInsert(second.handle(), PQgetResult(second.handle()));
    QVERIFY2(PQresultStatus(secondInsert.get()) == PGRES_TUPLES_OK,
             PQresultErrorMessage(secondInsert.get()));
    const QString secondKey = QString::fromUtf8(PQgetvalue(secondInsert.get(), 0, 0));
    QVERIFY(!PQgetResult(second.handle()));
    QCOMPARE((QStringList{firstKey, secondKey}), (QStringList{"3", "4"}));
    QCOMPARE(first.rows("select bh || mc from BMZD order by bh"),
             (QStringList{"1办公室", "2财务科", "3技术部", "4销售部"}));
    QCOMPARE(first.rows("insert into GSSLB (qsny, sl, sskcs) values ('202701', 0, 0) returning bh"),
             QStringList{"8"});
}

// The demonstration file moved to the server: the copy reports equal figures, and the query and
// statistics windows show the same rows and totals on either.
void ServerTest::copiedOfficeShowsTheSameFigures() {
    const DatabaseAddress server = freshServerDatabase();
    QStringList onFile;
    QStringList onServer;
    for (QStringList *shown : {&onFile, &onServer}) {
        Workspace workspace(Workspace::Database::Demo);
        if (shown == &onServer) {
            QCOMPARE(runSetup({"--copy", workspace.path(), "--server", server.location()}), 0);
            qputenv("GZGL_DATABASE", server.location().toUtf8());
        }
        const auto unset = qScopeGuard([] { qunsetenv("GZGL_DATABASE"); });
        TDM dataModule;
        DM = &dataModule;
        runModule<Tfrm_gztj>([&](Tfrm_gztj &window) {
            window.e_n->setValue(2026);
            window.e_y->setValue(1);
            window.e_n1->setValue(2026);
            window.e_y1->setValue(11);
            for (QRadioButton *perMonthOrEmployee : {window.r_1, window.r_2}) {
                perMonthOrEmployee->click();
                window.SpeedButton1->click();
                *shown << resultRows(DM->AQ1);
            }
        });
        runModule<Tfrm_sjcx>([&](Tfrm_sjcx &window) {
            window.e_n->setValue(2026);
            window.e_y->setValue(1);
            window.e_n1->setValue(2026);
            window.e_y1->setValue(11);
            window.SpeedButton1->click();
            *shown << resultRows(DM->AQ1);
        });
        DM = nullptr;
    }
    QVERIFY(onFile.size() > 150);
    QCOMPARE(onServer, onFile);

    // The numbers were carried across; what is added next is numbered after them.
    const ServerSession session(server);
    QCOMPARE(insertDepartment(session, "后勤部"), "5");
    QCOMPARE(session.rows("insert into YGZD (xm) values ('新员工') returning bh"),
             QStringList{"15"});
}

// A clerk's month stays claimed through transactions and is given up when released, and when
// the connection is lost as a killed program's would be; two clerks work on two months at once.
void ServerTest::monthClaimsEndWithTheirConnection() {
    Workspace workspace;
    const DatabaseAddress server = freshServerDatabase();
    createServerStructure(server);
    Connection first(server);
    Connection second(server);
    QVERIFY(first.monthClaim().claim("202611"));
    QVERIFY(!second.monthClaim().claim("202611"));
    QVERIFY2(second.monthClaim().claim("202612"), "another month is free");
    first.engine().begin();
    first.engine().rollback();
    QVERIFY2(!second.monthClaim().claim("202611"), "a rollback keeps the claim");
    first.monthClaim().release();
    QVERIFY(second.monthClaim().claim("202611"));
    QVERIFY2(!first.monthClaim().claim("202611"), "the month held before was given up");

    // The second clerk's program dies: the server drops its claim with the connection. The
    // ending is waited for: a signalled session lets go of its claims only once it has ended.
    const ServerSession administrator(server);
    QCOMPARE(administrator.rows("select bool_and(pg_terminate_backend(pid, 60000)) from "
                                "pg_stat_activity where datname = current_database() and "
                                "pid <> pg_backend_pid()"),
             QStringList{"t"});
    Connection third(server);
    QVERIFY(third.monthClaim().claim("202611"));
}

QTEST_MAIN(ServerTest)
#include "test_server.moc"
