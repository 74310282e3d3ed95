// Start-up compaction on real files: the file is replaced only by a checked compacted copy,
// a backup is always kept first, and in every other case the file stays byte for byte as it
// was, with nothing left behind. Backups: only whole ones, kept by the order they were made
// in and by day.
#include "backupfolder.h"
#include "compaction.h"
#include "connection.h"
#include "databasebackup.h"
#include "databaselock.h"
#include "filemark.h"
#include "filereplacement.h"
#include "filesizelimit.h"
#include "mainwindow.h"
#include "ofdlockbytes.h"
#include "progress.h"
#include "schematables.h"
#include "schemaversion.h"
#include "workspace.h"

#include <QApplication>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <QUuid>
#include <csignal>
#include <grp.h>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

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
    EmptyFile,
    OtherProgramsDatabase,
    PayrollMadeBeforeMarking,
    ReadOnlyFile,
    PartialBackupsLeftBehind,
    BackupsStampedInTheFuture,
    BackupsOnAnotherDisk,
    FileLeftUnderABackupName,
    ConfiguredForAServer,
    AnotherClerksFileInASharedFolder,
    StartedByAClerkWhoCannotKeepTheOwner,
};

// What someone tidying the folder does to the files beside the database.
enum class Tidying { LockFileRemoved, LockFileMadeAnew, EverythingBesideRemoved };

// A user and group that exist on every system and own nothing of the test's.
constexpr uid_t otherUser = 65534;
constexpr gid_t otherGroup = 65534;

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

// Statements on a file through a plain connection, as another program would run them.
void runPlain(const QString &path, const QStringList &statements) {
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        for (const QString &statement : statements) {
            QSqlQuery query(db);
            QVERIFY2(query.exec(statement), qPrintable(statement));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// A whole database of two pages, as a backup in the folder is.
QByteArray smallDatabase() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("small.db"));
    runPlain(path, {"create table t(x)"});
    return contents(path);
}

// Backups the running number of whose names tells they were made by this program.
QStringList numberedBackups(const QString &folder) {
    return entries(folder, "GZDB-*.mdb")
        .filter(QRegularExpression(QStringLiteral("-\\d{6}-\\d{4,}\\.mdb$")));
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

struct Ownership {
    uid_t owner;
    gid_t group;
    mode_t mode;
    bool operator==(const Ownership &) const = default;
};

Ownership ownershipOf(const QString &path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {uid_t(-1), gid_t(-1), 0};
    return {status.st_uid, status.st_gid, status.st_mode & 07777};
}

// The start-up compaction as another copy of the program runs it: a process of its own,
// which first runs `prepare` and gives up with its status when that is not 0. Empty when it
// could not be run so.
std::optional<bool> compactInAnotherProcess(int (*prepare)() = [] { return 0; }) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (const int failure = prepare())
            ::_exit(failure);
        ::_exit(Tfrm_main::CompactDatabase(QStringLiteral("gzdb.mdb"), QString()) ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) > 1)
        return std::nullopt;
    return WEXITSTATUS(status) == 0;
}

// As another clerk's program, another user without the administrator's rights.
std::optional<bool> compactAsAnotherUser() {
    return compactInAnotherProcess([] {
        if (::setgroups(0, nullptr) != 0 || ::setgid(otherGroup) != 0 || ::setuid(otherUser) != 0)
            return 3;
        // A clerk who could not even write the file would prove nothing.
        return ::access("GZDB.mdb", W_OK) != 0 ? 4 : 0;
    });
}

// Whether some lock request waits on the byte that tells of running copies of the file at
// `path`.
bool waitsForTheLockOf(const QString &path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return false;
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    // " 1: -> OFDLCK ADVISORY READ -1 fe:00:10959370 4611686018427387903 4611686018427387903"
    const QByteArray file = ':' + QByteArray::number(quint64(status.st_ino)) + ' ' +
                            QByteArray::number(qint64(copiesRunningByte)) + ' ';
    for (const QByteArray &line : locks.readAll().split('\n'))
        if (line.contains("->") && line.contains(file))
            return true;
    return false;
}

// The progress window on the screen, if any.
QProgressDialog *shownProgress() {
    for (QWidget *window : QApplication::topLevelWidgets())
        if (auto *progress = qobject_cast<QProgressDialog *>(window);
            progress && progress->isVisible())
            return progress;
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(Situation)
Q_DECLARE_METATYPE(Tidying)

class CompactionTest : public QObject {
    Q_OBJECT
private slots:
    void compactsOnlyWhatIsSafe_data();
    void compactsOnlyWhatIsSafe();
    void mainWindowCompactsWhenCreated();
    void leavesTheFileOfARunningCopyWhateverIsRemovedBeside_data();
    void leavesTheFileOfARunningCopyWhateverIsRemovedBeside();
    void copyStartedDuringACompactionHoldsTheCompactedFile();
    void keepsTheTenNewestBackups();
    void keepsBackupsByOrderAndDay_data();
    void keepsBackupsByOrderAndDay();
    void backsUpBeforeAChangeInPlace_data();
    void backsUpBeforeAChangeInPlace();
    void showsItIsBusyWhileCompacting();
    void failedReplacementLeavesTheFileAlone();
};

void CompactionTest::compactsOnlyWhatIsSafe_data() {
    QTest::addColumn<Situation>("situation");
    QTest::addColumn<bool>("compacted");
    // Besides the backup just made, in the backup folder afterwards.
    QTest::addColumn<QStringList>("keptBesides");
    QTest::newRow("healthy file") << Situation::Healthy << true << QStringList();
    QTest::newRow("no file") << Situation::Missing << false << QStringList();
    QTest::newRow("not a database") << Situation::NotADatabase << false << QStringList();
    QTest::newRow("two names differing in case")
        << Situation::TwoNamesDifferingInCase << false << QStringList();
    QTest::newRow("in use by another copy")
        << Situation::InUseByAnotherCopy << false << QStringList();
    QTest::newRow("no room for backups") << Situation::NoRoomForBackups << false << QStringList();
    QTest::newRow("disk full while backing up")
        << Situation::DiskFullWhileBackingUp << false << QStringList();
    QTest::newRow("journal of an interrupted write")
        << Situation::InterruptedWrite << true << QStringList();
    QTest::newRow("leftover of an interrupted compaction")
        << Situation::UnfinishedReplacement << true << QStringList();
    QTest::newRow("empty file") << Situation::EmptyFile << false << QStringList();
    QTest::newRow("another program's database")
        << Situation::OtherProgramsDatabase << false << QStringList();
    QTest::newRow("payroll made before files were marked")
        << Situation::PayrollMadeBeforeMarking << true << QStringList();
    // Made so on purpose: not even the administrator's program replaces it.
    QTest::newRow("read-only file") << Situation::ReadOnlyFile << false << QStringList();
    QTest::newRow("partial backups and journals left behind")
        << Situation::PartialBackupsLeftBehind << true
        << QStringList{"GZDB-before-the-move.mdb", "notes.txt"};
    // Made while the clock was years ahead, so made before the new one: the oldest goes.
    QStringList future;
    for (int day = 2; day <= 10; ++day)
        future << QStringLiteral("GZDB-2099-01-%1-120000.mdb").arg(day, 2, 10, QLatin1Char('0'));
    QTest::newRow("backups stamped in the future")
        << Situation::BackupsStampedInTheFuture << true << future;
    QTest::newRow("backup folder on a disk without second names")
        << Situation::BackupsOnAnotherDisk << true << QStringList();
    QTest::newRow("the file itself under a backup's name, left by a killed start")
        << Situation::FileLeftUnderABackupName << true << QStringList();
    // A server vacuums itself; a file left in the folder of a clerk who moved is not touched.
    QTest::newRow("configured for a server")
        << Situation::ConfiguredForAServer << false << QStringList();
    // The file and its folder belong to the clerks' group; the compacted file must too, or the
    // next clerk cannot save.
    QTest::newRow("another clerk's file in a shared folder")
        << Situation::AnotherClerksFileInASharedFolder << true << QStringList();
    QTest::newRow("started by a clerk who cannot keep the file's owner")
        << Situation::StartedByAClerkWhoCannotKeepTheOwner << false << QStringList();
}

void CompactionTest::compactsOnlyWhatIsSafe() {
    QFETCH(Situation, situation);
    QFETCH(bool, compacted);
    QFETCH(QStringList, keptBesides);
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
    std::optional<QTemporaryDir> otherDisk;
    const QDir backupFolder(backups);
    const QByteArray whole = smallDatabase();
    const auto forgetServer = qScopeGuard([] { qunsetenv("GZGL_DATABASE"); });
    switch (situation) {
    case Situation::NotADatabase:
        write(database, QByteArray("工资表\n").repeated(2000));
        break;
    case Situation::ConfiguredForAServer:
        qputenv("GZGL_DATABASE", "postgresql://clerk@payroll-host/payroll");
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
        write(workspace.path() + QStringLiteral("/~CP4711ab.tmp-journal"), "its journal");
        break;
    case Situation::EmptyFile:
        write(database, QByteArray());
        break;
    case Situation::OtherProgramsDatabase:
        QVERIFY(QFile::remove(database));
        runPlain(database,
                 {"create table notes(id integer primary key, text)",
                  "insert into notes(text) values ('购物清单')", "pragma user_version=1"});
        break;
    case Situation::PayrollMadeBeforeMarking:
        // Such a file has the first layout: without the later tables.
        workspace.makeFirstLayout();
        break;
    case Situation::ReadOnlyFile:
        QVERIFY(QFile::setPermissions(database, QFile::ReadOwner | QFile::ReadGroup));
        // The administrator learns why the file stays as it is.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^GZDB.mdb 未压缩")));
        break;
    case Situation::PartialBackupsLeftBehind:
        QVERIFY(backupFolder.mkpath("."));
        // A backup killed while the engine wrote it, with the engine's journal beside it.
        write(backupFolder.filePath("GZDB-2026-12-09-080000.mdb"), whole);
        write(backupFolder.filePath("GZDB-2026-12-09-080000.mdb-journal"), "pages");
        // One cut short, its journal gone.
        write(backupFolder.filePath("GZDB-2026-12-09-090000.mdb"), whole.left(whole.size() / 2));
        write(backupFolder.filePath("GZDB-2026-12-09-100000-0007.mdb.partial"), whole);
        write(backupFolder.filePath("GZDB-2026-12-09-100000-0007.mdb.partial-journal"), "pages");
        // The journal of a backup the disk had no room for.
        write(backupFolder.filePath("GZDB-2026-12-08-080000.mdb-journal"), "pages");
        write(backupFolder.filePath("~CP12ab34.tmp"), whole);
        write(backupFolder.filePath("GZDB-before-the-move.mdb"), whole);
        write(backupFolder.filePath("notes.txt"), "the clerk's");
        break;
    case Situation::BackupsStampedInTheFuture:
        QVERIFY(backupFolder.mkpath("."));
        for (int day = 1; day <= 10; ++day)
            write(
                backupFolder.filePath(
                    QStringLiteral("GZDB-2099-01-%1-120000.mdb").arg(day, 2, 10, QLatin1Char('0'))),
                whole);
        break;
    case Situation::BackupsOnAnotherDisk:
        if (!QFileInfo(QStringLiteral("/dev/shm")).isDir())
            QSKIP("no memory disk to hold the backup folder");
        otherDisk.emplace(QStringLiteral("/dev/shm/gz-backup-XXXXXX"));
        QVERIFY(QFile::link(otherDisk->path(), backups));
        break;
    case Situation::AnotherClerksFileInASharedFolder:
        if (::geteuid() != 0)
            QSKIP("only an administrator can make files of another user");
        QCOMPARE(::chown(QFile::encodeName(database).constData(), otherUser, otherGroup), 0);
        QCOMPARE(::chmod(QFile::encodeName(database).constData(), 0664), 0);
        QCOMPARE(::chown(QFile::encodeName(workspace.path()).constData(), otherUser, otherGroup),
                 0);
        QCOMPARE(::chmod(QFile::encodeName(workspace.path()).constData(), 02775), 0);
        break;
    case Situation::StartedByAClerkWhoCannotKeepTheOwner:
        if (::geteuid() != 0)
            QSKIP("only an administrator can run a process as another user");
        QCOMPARE(::chmod(QFile::encodeName(database).constData(), 0666), 0);
        QCOMPARE(::chmod(QFile::encodeName(workspace.path()).constData(), 0777), 0);
        break;
    case Situation::FileLeftUnderABackupName:
        QVERIFY(backupFolder.mkpath("."));
        QCOMPARE(::link(QFile::encodeName(database).constData(),
                        QFile::encodeName(backupFolder.filePath("GZDB-2026-12-09-080000-0003.mdb"))
                            .constData()),
                 0);
        break;
    default:
        break;
    }
    const QByteArray before = contents(database);
    const QFile::Permissions permissions = QFile::permissions(database);
    const Ownership ownership = ownershipOf(database);
    const Ownership folderOwnership = ownershipOf(workspace.path());
    const bool hadBackupFolder = QFileInfo::exists(backups);

    std::optional<bool> result;
    if (situation == Situation::StartedByAClerkWhoCannotKeepTheOwner)
        result = compactAsAnotherUser();
    else
        result = Tfrm_main::CompactDatabase(QStringLiteral("gzdb.mdb"), QString());
    diskFull.reset();

    QVERIFY2(result.has_value(), "the other user's program could not run");
    QCOMPARE(*result, compacted);
    QCOMPARE(entries(workspace.path(), "~CP*"), QStringList());
    QCOMPARE(entries(workspace.path(), "GZDB.mdb-*"), QStringList());
    if (compacted) {
        QVERIFY(QFileInfo(database).size() < before.size() / 4);
        QCOMPARE(QFile::permissions(database), permissions);
        QVERIFY(ownershipOf(database) == ownership);
        QCOMPARE(valueIn(database, "pragma integrity_check"), QStringLiteral("ok"));
        // Compaction keeps the layout: upgrading is the program's first use's business.
        QCOMPARE(
            valueIn(database, "pragma user_version"),
            QString::number(situation == Situation::PayrollMadeBeforeMarking ? 1 : schemaVersion));
        QCOMPARE(valueIn(database, "pragma application_id"), QString::number(payrollFileMark));
        QCOMPARE(valueIn(database, fingerprintSql), fingerprint);
        // The backup is the file as it was before the compaction.
        const QStringList made = numberedBackups(backups);
        QCOMPARE(made.size(), 1);
        const QString backup = backups + "/" + made.first();
        QCOMPARE(valueIn(backup, "pragma integrity_check"), QStringLiteral("ok"));
        QCOMPARE(valueIn(backup, fingerprintSql), fingerprint);
        if (situation != Situation::InterruptedWrite &&
            situation != Situation::PayrollMadeBeforeMarking)
            QVERIFY(contents(backup) == before);
        QCOMPARE(QFile::permissions(backup), permissions);
        QVERIFY(ownershipOf(backup) == ownership);
        if (!hadBackupFolder)
            QVERIFY(ownershipOf(backups) == folderOwnership);
        QStringList expected = keptBesides + made;
        expected.sort();
        QCOMPARE(entries(backups, "*"), expected);
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

void CompactionTest::leavesTheFileOfARunningCopyWhateverIsRemovedBeside_data() {
    QTest::addColumn<Tidying>("tidying");
    QTest::newRow("lock file removed") << Tidying::LockFileRemoved;
    QTest::newRow("lock file removed and made anew") << Tidying::LockFileMadeAnew;
    QTest::newRow("every file beside removed") << Tidying::EverythingBesideRemoved;
}

// Someone tidies the folder while a copy runs; a second copy started then must not replace
// the file under the first, whose later saves would go to a file nobody opens again.
void CompactionTest::leavesTheFileOfARunningCopyWhateverIsRemovedBeside() {
    QFETCH(Tidying, tidying);
    Workspace workspace;
    fillAndThinOut(workspace);
    const QString database = workspace.databasePath();
    const QString lockFile = database + QStringLiteral(".lock");

    // The running copy as start-up leaves it: the lock taken, then its connection opened.
    const DatabaseLock running(database, DatabaseLock::Mode::Shared);
    QVERIFY(running.isHeld());
    Connection runningCopy(QStringLiteral("GZDB.mdb"));
    QSqlQuery save(runningCopy.database());
    QVERIFY(save.exec(QStringLiteral("select count(*) from GZB")));
    save.finish();

    const QDir folder(workspace.path());
    switch (tidying) {
    case Tidying::LockFileRemoved:
        QFile::remove(lockFile);
        break;
    case Tidying::LockFileMadeAnew:
        QFile::remove(lockFile);
        write(lockFile, QByteArray());
        break;
    case Tidying::EverythingBesideRemoved:
        for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden))
            if (name != QStringLiteral("GZDB.mdb"))
                QVERIFY(QFile::remove(folder.filePath(name)));
        break;
    }

    const std::optional<bool> compacted = compactInAnotherProcess();
    QVERIFY2(compacted.has_value(), "the second copy could not run");
    QVERIFY2(!*compacted, "the second copy compacted the file under the first");
    QVERIFY(save.exec(QStringLiteral("update GZB set f1 = 4711 where ygh = 1")));
    QCOMPARE(valueIn(database, "select f1 from GZB where ygh = 1"), QStringLiteral("4711"));
}

// A copy starts while another compacts: it waits, and then must hold the file that now has
// the name, not the one replaced, or a third copy would find the new file free to replace.
void CompactionTest::copyStartedDuringACompactionHoldsTheCompactedFile() {
    Workspace workspace;
    const QString database = workspace.databasePath();
    std::optional<DatabaseLock> compacting(std::in_place, database, DatabaseLock::Mode::Exclusive);
    QVERIFY(compacting->isHeld());

    std::optional<DatabaseLock> started;
    std::thread starting([&] { started.emplace(database, DatabaseLock::Mode::Shared); });
    // Also when a check fails: the waiting copy goes on once the compaction is over.
    const auto joined = qScopeGuard([&] {
        compacting.reset();
        if (starting.joinable())
            starting.join();
    });
    QTRY_VERIFY2(waitsForTheLockOf(database), "the starting copy does not wait");

    const QString compacted = workspace.path() + QStringLiteral("/compacted");
    QVERIFY(QFile::copy(database, compacted));
    QCOMPARE(
        ::rename(QFile::encodeName(compacted).constData(), QFile::encodeName(database).constData()),
        0);
    compacting.reset();
    starting.join();
    QVERIFY(started->isHeld());

    const std::optional<bool> third = compactInAnotherProcess();
    QVERIFY2(third.has_value(), "the third copy could not run");
    QVERIFY2(!*third, "the third copy compacted the file under the one started");
}

// Backups named before they were numbered are ordered by the moment in their names; files of
// other names are the clerk's.
void CompactionTest::keepsTheTenNewestBackups() {
    Workspace workspace;
    const QDir backups(workspace.path() + QStringLiteral("/backup"));
    QVERIFY(backups.mkpath(QStringLiteral(".")));
    // Oldest first; the first three were made within the same second.
    QStringList older{"GZDB-2020-01-01-120000.mdb", "GZDB-2020-01-01-120000-2.mdb",
                      "GZDB-2020-01-01-120000-10.mdb"};
    for (int day = 2; day <= 9; ++day)
        older << QStringLiteral("GZDB-2020-01-%1-120000.mdb").arg(day, 2, 10, QLatin1Char('0'));
    const QByteArray whole = smallDatabase();
    for (const QString &name : older + QStringList{"GZDB-before-the-move.mdb"})
        write(backups.filePath(name), whole);

    QVERIFY(Tfrm_main::CompactDatabase(QStringLiteral("gzdb.mdb"), QString()));

    const QStringList kept = entries(backups.path(), "*");
    QCOMPARE(kept.size(), 11);
    for (const QString &removed : older.mid(0, 2))
        QVERIFY2(!kept.contains(removed), qPrintable(removed));
    for (const QString &stays : older.mid(2) + QStringList{"GZDB-before-the-move.mdb"})
        QVERIFY2(kept.contains(stays), qPrintable(stays));
}

namespace {

const QDateTime pruneMoment(QDate(2026, 12, 10), QTime(8, 30, 15));

// The name of a backup made `daysBefore` the moment of pruning, numbered `number` (0: named
// before numbering).
QString backupMade(int daysBefore, int number, const QString &time = QStringLiteral("120000")) {
    const QString day =
        pruneMoment.date().addDays(-daysBefore).toString(QStringLiteral("yyyy-MM-dd"));
    return number == 0 ? QStringLiteral("GZDB-%1-%2.mdb").arg(day, time)
                       : QStringLiteral("GZDB-%1-%2-%3.mdb")
                             .arg(day, time)
                             .arg(number, 4, 10, QLatin1Char('0'));
}

} // namespace

void CompactionTest::keepsBackupsByOrderAndDay_data() {
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("justMade");
    QTest::addColumn<QStringList>("removed");

    QStringList longAgo;
    for (int number = 1; number <= 12; ++number)
        longAgo << backupMade(300, number,
                              QStringLiteral("1200%1").arg(number, 2, 10, QLatin1Char('0')));
    QTest::newRow("the ten newest") << longAgo << longAgo.last() << longAgo.mid(0, 2);

    QStringList busyDay{backupMade(1, 1)};
    for (int number = 2; number <= 13; ++number)
        busyDay << backupMade(0, number,
                              QStringLiteral("08%1").arg(number, 4, 10, QLatin1Char('0')));
    QTest::newRow("a busy day keeps yesterday's") << busyDay << busyDay.last() << busyDay.mid(1, 2);

    QStringList daily;
    for (int daysBefore = 34; daysBefore >= 0; --daysBefore)
        daily << backupMade(daysBefore, 35 - daysBefore);
    QTest::newRow("the newest of each of thirty days") << daily << daily.last() << daily.mid(0, 5);

    QStringList sameDay{backupMade(2, 1, "090000"), backupMade(2, 2, "100000"),
                        backupMade(2, 3, "080000")};
    for (int number = 4; number <= 13; ++number)
        sameDay << backupMade(0, number,
                              QStringLiteral("08%1").arg(number, 4, 10, QLatin1Char('0')));
    QTest::newRow("of a day the last made, whatever its time")
        << sameDay << sameDay.last() << sameDay.mid(0, 2);

    QStringList future;
    for (int number = 1; number <= 10; ++number)
        future << backupMade(-1000 - number, number);
    future << backupMade(0, 11, "083015");
    QTest::newRow("numbered under a clock running ahead")
        << future << future.last() << future.mid(0, 1);

    QStringList unnumbered{backupMade(-999, 0), backupMade(-1000, 0)};
    for (int number = 1; number <= 9; ++number)
        unnumbered << backupMade(400, number);
    QTest::newRow("named before numbering, older than every numbered one")
        << unnumbered << unnumbered.last() << unnumbered.mid(0, 1);
}

void CompactionTest::keepsBackupsByOrderAndDay() {
    QFETCH(QStringList, present);
    QFETCH(QString, justMade);
    QFETCH(QStringList, removed);
    QTemporaryDir folder;
    const QString backups = folder.filePath(QStringLiteral("backup"));
    QVERIFY(QDir(backups).mkpath(QStringLiteral(".")));
    const QByteArray whole = smallDatabase();
    for (const QString &name : present)
        write(backups + "/" + name, whole);

    BackupFolder(folder.filePath(QStringLiteral("GZDB.mdb")))
        .prune(backups + "/" + justMade, pruneMoment);

    QStringList expected = present;
    for (const QString &name : removed)
        expected.removeOne(name);
    expected.sort();
    QCOMPARE(entries(backups, "*"), expected);
}

// What a change made to the file in place is preceded by: a whole, checked copy under its
// backup name, or nothing at all.
void CompactionTest::backsUpBeforeAChangeInPlace_data() {
    QTest::addColumn<Situation>("situation");
    QTest::addColumn<bool>("written");
    QTest::newRow("healthy file") << Situation::Healthy << true;
    QTest::newRow("disk full") << Situation::DiskFullWhileBackingUp << false;
    QTest::newRow("another program's database") << Situation::OtherProgramsDatabase << false;
}

void CompactionTest::backsUpBeforeAChangeInPlace() {
    QFETCH(Situation, situation);
    QFETCH(bool, written);
    Workspace workspace;
    const QString database = workspace.databasePath();
    fillAndThinOut(workspace);
    QVERIFY(QFile::setPermissions(database, QFile::ReadOwner | QFile::WriteOwner));
    std::optional<FileSizeLimit> diskFull;
    if (situation == Situation::DiskFullWhileBackingUp)
        diskFull.emplace(8192);
    if (situation == Situation::OtherProgramsDatabase) {
        QVERIFY(QFile::remove(database));
        runPlain(database, {"create table notes(text)"});
    }
    const QByteArray before = contents(database);

    const QString backup = backUpDatabase(database, QDateTime::currentDateTime());
    diskFull.reset();

    QCOMPARE(!backup.isEmpty(), written);
    QVERIFY(contents(database) == before);
    const QString backups = workspace.path() + QStringLiteral("/backup");
    if (!written) {
        QCOMPARE(entries(backups, "*"), QStringList());
        return;
    }
    QCOMPARE(entries(backups, "*"), numberedBackups(backups));
    QCOMPARE(QFileInfo(backup).fileName(), numberedBackups(backups).value(0));
    QCOMPARE(valueIn(backup, "pragma integrity_check"), QStringLiteral("ok"));
    QCOMPARE(valueIn(backup, fingerprintSql), fingerprint);
    QCOMPARE(QFile::permissions(backup), QFile::permissions(database));
}

// The window appears at once here: whether it would for a quick compaction is the clock's
// business, and no test's. What counts is that it shows its text while the engine works and
// that the program's events are handled meanwhile.
void CompactionTest::showsItIsBusyWhileCompacting() {
    Workspace workspace;
    fillAndThinOut(workspace);
    bool working = false;
    QStringList shownWhileWorking;
    bool eventsHandledWhileWorking = false;
    QTimer::singleShot(0, [&] { eventsHandledWhileWorking = working; });
    {
        Progress busy(QStringLiteral("正在备份并整理数据库…"), std::chrono::milliseconds(0));
        working = true;
        QVERIFY(compactDatabase(QStringLiteral("gzdb.mdb"), QString(), [&] {
            busy.pulse();
            if (QProgressDialog *window = shownProgress())
                shownWhileWorking << window->labelText();
        }));
        working = false;
    }
    QVERIFY(!shownProgress());
    QVERIFY(!shownWhileWorking.isEmpty());
    QCOMPARE(shownWhileWorking.first(), QStringLiteral("正在备份并整理数据库…"));
    QVERIFY(eventsHandledWhileWorking);
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
