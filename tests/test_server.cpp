// What only a database server has: choosing it, setting it up, moving a file's payroll to it,
// its tables kept equal to the file's, and clerks' month claims that die with their
// connection. (Everything the windows do runs on the server in the "_server" tests.)
#include "advisorymonthclaim.h"
#include "connection.h"
#include "data.h"
#include "databasesetup.h"
#include "dberror.h"
#include "gztj.h"
#include "modulerun.h"
#include "postgresengine.h"
#include "serverschema.h"
#include "serversetup.h"
#include "sjcx.h"
#include "spinedit.h"
#include "testserver.h"
#include "workspace.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <libpq-fe.h>

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

// Numbers the keys the way a database made by the earlier program did: one past the largest,
// computed by a trigger, which two sessions inserting at once both compute alike.
void numberKeysByTrigger(const ServerSession &session) {
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
    void unreachableServerIsNamedWithoutItsPassword_data();
    void unreachableServerIsNamedWithoutItsPassword();
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

void ServerTest::unreachableServerIsNamedWithoutItsPassword_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("shown");

    QTest::newRow("URI") << "postgresql://clerk:secret@/payroll?host=/nonexistent"
                         << "postgresql://clerk@/payroll?host=/nonexistent";
    QTest::newRow("URI, password as a parameter")
        << "postgresql:///payroll?host=/nonexistent&password=secret"
        << "postgresql:///payroll?host=/nonexistent&password=***";
    QTest::newRow("keywords") << "host=/nonexistent dbname=payroll password='secret'"
                              << "host=/nonexistent dbname=payroll password=***";
}

void ServerTest::unreachableServerIsNamedWithoutItsPassword() {
    QFETCH(QString, address);
    QFETCH(QString, shown);
    Connection connection(DatabaseAddress::server(address));
    Query query(connection);
    query.addLine("select * from BMZD");
    try {
        query.open();
        QFAIL("no error");
    } catch (const DbError &error) {
        QVERIFY2(error.text().startsWith("Cannot connect to the database server " + shown + ": "),
                 qPrintable(error.text()));
        QVERIFY(!error.text().contains("secret"));
    }
    QVERIFY(!connection.isConnected());
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
             QStringList{"1197098050|2"});
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
    session.run("drop table GZXMJS, GSSLB, GSJCFY, YGJS, YGZXKC");
    session.run(QStringLiteral("update %1 set version = 1").arg(serverLayoutTable));
    const QString tables = "select count(*) from pg_tables where schemaname = 'public'";
    {
        Connection other(server);
        other.engine();
    }
    QCOMPARE(session.rows(tables), QStringList{"6"});
    Connection program(server);
    program.upgradeOlderLayoutOnConnect();
    program.engine();
    QCOMPARE(session.rows(tables), QStringList{"11"});
    QCOMPARE(session.rows(QStringLiteral("select version from %1").arg(serverLayoutTable)),
             QStringList{"2"});
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
