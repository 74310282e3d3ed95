// Start-up compaction on real files: the file is replaced only by a checked compacted copy,
// a backup is always kept first, and in every other case the file stays byte for byte as it
// was, with nothing left behind.
#include "connection.h"
#include "databaselock.h"
#include "filereplacement.h"
#include "filesizelimit.h"
#include "main.h"
#include "schemaversion.h"
#include "workspace.h"

#include <QSqlQuery>
#include <QTest>
#include <csignal>
#include <optional>
#include <sys/resource.h>

namespace {

enum class Situation {
    Healthy,
    Missing,
    NotADatabase,
    TwoNamesDifferingInCase,
    InUseByAnotherCopy,
    NoRoomForBackups,
    DiskFullWhileBackingUp,
    InterruptedWrite,
    UnfinishedReplacement,
};

// What the payroll holds after the fixture: its rows, their amounts, an untouched column.
const QString fingerprintSql =
    QStringLiteral("select count(*)||'/'||sum(f1)||'/'||ifnull(max(length(zw)),0) from GZB");
const QString fingerprint = QStringLiteral("2000/20010000000/0");

QString valueIn(const QString &databasePath, const QString &sql) {
    Connection connection(databasePath);
    QSqlQuery query(connection.database());
    if (!query.exec(sql) || !query.next())
        return QStringLiteral("error: ") + sql;
    return query.value(0).toString();
}

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString &path, const QByteArray &data) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(data), data.size());
}

QStringList entries(const QString &folder, const QString &pattern) {
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden, QDir::Name);
}

// Twenty thousand salary rows of which nine in ten are deleted again, as months saved over
// and over leave their room behind.
void fillAndThinOut(const Workspace &workspace) {
    workspace.exec(
        "insert into GZB (ny,ygh,xm,f1) with recursive n(i) as (select 1 union all "
        "select i+1 from n where i<20000) select '202601', i, '职工'||i, i*10000 from n");
    workspace.exec("delete from GZB where ygh > 2000");
}

// The file and journal as a crash in the middle of a large update leaves them: the update
// spilled pages into the file, the journal holds what they were.
void crashDuringAnUpdate(const Workspace &workspace) {
    const QString database = workspace.databasePath();
    const QDir crash(workspace.path() + QStringLiteral("/crash"));
    QVERIFY(crash.mkpath(QStringLiteral(".")));
    {
        Connection writer(database);
        QSqlQuery update(writer.database());
        QVERIFY(update.exec(QStringLiteral("pragma cache_size=10")));
        QVERIFY(update.exec(QStringLiteral("begin")));
        QVERIFY(update.exec(QStringLiteral("update GZB set zw=hex(randomblob(200))")));
        for (const QString &suffix : {QString(), QStringLiteral("-journal")})
            QVERIFY(QFile::copy(database + suffix, crash.filePath("GZDB.mdb" + suffix)));
        QVERIFY(update.exec(QStringLiteral("rollback")));
    }
    for (const QString &suffix : {QString(), QStringLiteral("-journal")}) {
        QFile::remove(database + suffix);
        QVERIFY(QFile::rename(crash.filePath("GZDB.mdb" + suffix), database + suffix));
    }
    QVERIFY(QFileInfo(database + "-journal").size() > 0);
}

} // namespace

Q_DECLARE_METATYPE(Situation)

class CompactionTest : public QObject {
    Q_OBJECT
private slots:
    void compactsOnlyWhatIsSafe_data();
    void compactsOnlyWhatIsSafe();
    void mainWindowCompactsWhenCreated();
    void keepsTheTenNewestBackups();
    void failedReplacementLeavesTheFileAlone();
};

void CompactionTest::compactsOnlyWhatIsSafe_data() {
    QTest::addColumn<Situation>("situation");
    QTest::addColumn<bool>("compacted");
    QTest::newRow("healthy file") << Situation::Healthy << true;
    QTest::newRow("no file") << Situation::Missing << false;
    QTest::newRow("not a database") << Situation::NotADatabase << false;
    QTest::newRow("two names differing in case") << Situation::TwoNamesDifferingInCase << false;
    QTest::newRow("in use by another copy") << Situation::InUseByAnotherCopy << false;
    QTest::newRow("no room for backups") << Situation::NoRoomForBackups << false;
    QTest::newRow("disk full while backing up") << Situation::DiskFullWhileBackingUp << false;
    QTest::newRow("journal of an interrupted write") << Situation::InterruptedWrite << true;
    QTest::newRow("leftover of an interrupted compaction")
        << Situation::UnfinishedReplacement << true;
}

void CompactionTest::compactsOnlyWhatIsSafe() {
    QFETCH(Situation, situation);
    QFETCH(bool, compacted);
    Workspace workspace(situation == Situation::Missing ? Workspace::Database::None
                                                        : Workspace::Database::Empty);
    const QString database = workspace.databasePath();
    const QString backups = workspace.path() + QStringLiteral("/backup");
    if (situation != Situation::Missing) {
        fillAndThinOut(workspace);
        QVERIFY(QFile::setPermissions(database,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    }
    std::optional<DatabaseLock> otherCopy;
    std::optional<FileSizeLimit> diskFull;
    switch (situation) {
    case Situation::NotADatabase:
        write(database, QByteArray("工资表\n").repeated(2000));
        break;
    case Situation::TwoNamesDifferingInCase:
        QVERIFY(QFile::copy(database, workspace.path() + QStringLiteral("/gzdb.mdb")));
        break;
    case Situation::InUseByAnotherCopy:
        otherCopy.emplace(database, DatabaseLock::Mode::Shared);
        QVERIFY(otherCopy->isHeld());
        break;
    case Situation::NoRoomForBackups:
        write(backups, "a file where the backup folder would go");
        break;
    case Situation::DiskFullWhileBackingUp:
        diskFull.emplace(8192);
        break;
    case Situation::InterruptedWrite:
        crashDuringAnUpdate(workspace);
        break;
    case Situation::UnfinishedReplacement:
        write(workspace.path() + QStringLiteral("/~CP4711ab.tmp"), "half a copy");
        break;
    default:
        break;
    }
    const QByteArray before = contents(database);
    const QFile::Permissions permissions = QFile::permissions(database);

    const bool result = Tfrm_main::CompactDatabase(QStringLiteral("gzdb.mdb"), QString());
    diskFull.reset();

    QCOMPARE(result, compacted);
    QCOMPARE(entries(workspace.path(), "~CP*"), QStringList());
    QCOMPARE(entries(workspace.path(), "GZDB.mdb-*"), QStringList());
    if (compacted) {
        QVERIFY(QFileInfo(database).size() < before.size() / 4);
        QCOMPARE(QFile::permissions(database), permissions);
        QCOMPARE(valueIn(database, "pragma integrity_check"), QStringLiteral("ok"));
        QCOMPARE(valueIn(database, "pragma user_version"), QString::number(schemaVersion));
        QCOMPARE(valueIn(database, fingerprintSql), fingerprint);
        const QStringList kept = entries(backups, "GZDB-*.mdb");
        QCOMPARE(kept.size(), 1);
        QCOMPARE(contents(backups + "/" + kept.first()), contents(database));
        QCOMPARE(QFile::permissions(backups + "/" + kept.first()), permissions);
    } else if (situation == Situation::Missing) {
        QVERIFY(QDir(workspace.path()).isEmpty());
    } else {
        QVERIFY(contents(database) == before);
        QCOMPARE(entries(backups, "*"), QStringList());
    }
}

void CompactionTest::mainWindowCompactsWhenCreated() {
    Workspace workspace;
    fillAndThinOut(workspace);
    const qint64 before = QFileInfo(workspace.databasePath()).size();
    Tfrm_main window;
    QVERIFY(QFileInfo(workspace.databasePath()).size() < before / 4);
    QCOMPARE(valueIn(workspace.databasePath(), fingerprintSql), fingerprint);
}

// Backups are ordered by the moment in their names; files of other names are the clerk's.
void CompactionTest::keepsTheTenNewestBackups() {
    Workspace workspace;
    const QDir backups(workspace.path() + QStringLiteral("/backup"));
    QVERIFY(backups.mkpath(QStringLiteral(".")));
    // Oldest first; the first three were made within the same second.
    QStringList older{"GZDB-2020-01-01-120000.mdb", "GZDB-2020-01-01-120000-2.mdb",
                      "GZDB-2020-01-01-120000-10.mdb"};
    for (int day = 2; day <= 9; ++day)
        older << QStringLiteral("GZDB-2020-01-%1-120000.mdb").arg(day, 2, 10, QLatin1Char('0'));
    for (const QString &name : older + QStringList{"GZDB-before-the-move.mdb"})
        write(backups.filePath(name), name.toUtf8());

    QVERIFY(Tfrm_main::CompactDatabase(QStringLiteral("gzdb.mdb"), QString()));

    const QStringList kept = entries(backups.path(), "*");
    QCOMPARE(kept.size(), 11);
    for (const QString &removed : older.mid(0, 2))
        QVERIFY2(!kept.contains(removed), qPrintable(removed));
    for (const QString &stays : older.mid(2) + QStringList{"GZDB-before-the-move.mdb"})
        QVERIFY2(kept.contains(stays), qPrintable(stays));
}

// Copying the compacted file into place fails halfway, as on a full disk.
void CompactionTest::failedReplacementLeavesTheFileAlone() {
    QTemporaryDir folder;
    const QString target = folder.filePath(QStringLiteral("GZDB.mdb"));
    const QString replacement = folder.filePath(QStringLiteral("compacted.mdb"));
    write(target, "the payroll as it was");
    write(replacement, QByteArray(1 << 20, 'c'));
    {
        const FileSizeLimit diskFull(64 * 1024);
        QVERIFY(!replaceFile(replacement, target));
    }
    QCOMPARE(contents(target), QByteArray("the payroll as it was"));
    QCOMPARE(entries(folder.path(), "~CP*"), QStringList());
}

QTEST_MAIN(CompactionTest)
#include "test_compaction.moc"
