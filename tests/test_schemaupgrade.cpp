// A file of the first layout, as earlier programs left it, brought up to this program's on
// its first use: backed up first, upgraded in one transaction, its months untouched; and left
// exactly as it was when no backup can be written.
#include "data.h"
#include "dberror.h"
#include "operator.h"
#include "schemastatements.h"
#include "schematables.h"
#include "schemaversion.h"
#include "workspace.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

// What a file of layout 1 holds: the tables of today's file without the later additions,
// with the demo months in it.
void makeFirstLayout(const Workspace &workspace) {
    for (const QString &drop : fileDropsAfterVersion(1))
        workspace.exec(drop);
    workspace.exec(QStringLiteral("pragma user_version = 1"));
    workspace.exec(QStringLiteral("pragma application_id = 0")); // earlier programs set no mark
}

QStringList months(const QString &path) {
    Connection connection(path);
    Query query(connection);
    query.addLine("select ny, count(*) as n, sum(f1) as total from GZB group by ny order by ny");
    query.open();
    QStringList rows;
    for (; !query.eof(); query.next())
        rows << query.field("ny").asString() + " " + query.field("n").asString() + " " +
                    query.field("total").asString();
    return rows;
}

QString valueIn(const QString &path, const QString &sql) {
    Connection connection(path);
    Query query(connection);
    query.addLine(sql);
    query.open();
    return query.cell(0, 0).asString();
}

int tableCount(const QString &path) {
    return valueIn(path, "select count(*) from sqlite_master where type='table'").toInt();
}

} // namespace

class SchemaUpgradeTest : public QObject {
    Q_OBJECT
private slots:
    void laterSectionsOnly();
    void firstLayoutIsUpgradedAfterABackup();
    void noBackupNoUpgrade();
};

// The sections after a version are what an older file lacks; a current file lacks nothing.
void SchemaUpgradeTest::laterSectionsOnly() {
    const QStringList added = statementsAfterVersion(1);
    QVERIFY(!added.isEmpty());
    QVERIFY(added.first().startsWith("CREATE TABLE GZXMJS"));
    for (const QString &statement : added)
        QVERIFY2(!statement.contains("CREATE TABLE GZB") && !statement.contains("user_version"),
                 qPrintable(statement));
    QCOMPARE(statementsAfterVersion(schemaVersion), QStringList());
}

void SchemaUpgradeTest::firstLayoutIsUpgradedAfterABackup() {
    Workspace workspace(Workspace::Database::Demo);
    makeFirstLayout(workspace);
    const QStringList before = months(workspace.databasePath());
    QCOMPARE(before.size(), 11); // January to November 2026

    QCOMPARE(fileRows("select count(*) from BMZD").size(), 1); // a connection of its own
    QCOMPARE(valueIn(workspace.databasePath(), "pragma user_version"), "1");
    DM->AQ1.addLine("select count(*) as n from GSSLB where qsny='201901'");
    DM->AQ1.open();
    QCOMPARE(DM->AQ1.field("n").asInteger(), 7);

    QCOMPARE(valueIn(workspace.databasePath(), "pragma user_version"),
             QString::number(schemaVersion));
    QCOMPARE(months(workspace.databasePath()), before);
    // As stored, in ten-thousandths.
    QCOMPARE(valueIn(workspace.databasePath(), "select je as units from GSJCFY"), "50000000");
    const QStringList backups = QDir("backup").entryList({"GZDB-*.mdb"}, QDir::Files);
    QCOMPARE(backups.size(), 1);
    const QString backup = "backup/" + backups.first();
    QCOMPARE(valueIn(backup, "pragma user_version"), "1");
    QCOMPARE(months(backup), before);
    QCOMPARE(tableCount(backup) + tablesCreatedAfterVersion(1).size(),
             tableCount(workspace.databasePath()));
}

// Where the backup would go is taken by a file: the program refuses to touch the file.
void SchemaUpgradeTest::noBackupNoUpgrade() {
    Workspace workspace(Workspace::Database::Demo);
    makeFirstLayout(workspace);
    const int tables = tableCount(workspace.databasePath());
    QFile blocker("backup");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    DM->AQ1.addLine("select count(*) as n from GZB");
    try {
        DM->AQ1.open();
        QFAIL("no error");
    } catch (const DbError &error) {
        QVERIFY2(error.text().contains("无法先写出它的备份"), qPrintable(error.text()));
    }
    QCOMPARE(valueIn(workspace.databasePath(), "pragma user_version"), "1");
    QCOMPARE(tableCount(workspace.databasePath()), tables);
}

QTEST_MAIN(SchemaUpgradeTest)
#include "test_schemaupgrade.moc"
