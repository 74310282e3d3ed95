// Clerks sharing one database file: a month one of them holds stays held whatever happens to
// the files beside the database, whether the other clerk is another process or another
// connection of the same one. What befalls the file is said to the clerk in Chinese.
#include "connection.h"
#include "dberror.h"
#include "filesizelimit.h"
#include "ofdmonthclaim.h"
#include "workspace.h"

#include <QSqlQuery>
#include <QTest>
#include <csignal>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Whether `month` can be claimed on `database` by a process of its own, which ends at once.
bool claimableFromAnotherProcess(const QString &database, const QString &month) {
    const pid_t child = ::fork();
    if (child == 0) {
        bool claimed = false;
        try {
            OfdMonthClaim claims(database);
            claimed = claims.claim(month);
        } catch (...) {
            ::_exit(2);
        }
        ::_exit(claimed ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return false;
    return WEXITSTATUS(status) == 0;
}

enum class Mishap { DiskFull, WriteRefused, Damaged, LockedByAnotherProgram };

// Overwrites every page after the first, which holds the header the program checks on
// opening, as a failing disk would.
void damage(const QString &path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    constexpr qint64 firstPage = 4096;
    QVERIFY(file.seek(firstPage));
    QCOMPARE(file.write(QByteArray(int(file.size() - firstPage), '\xff')), file.size() - firstPage);
}

} // namespace

Q_DECLARE_METATYPE(Mishap)

class SharedFileTest : public QObject {
    Q_OBJECT
private slots:
    void claimSurvivesRemovalOfFilesBeside_data();
    void claimSurvivesRemovalOfFilesBeside();
    void engineFailuresAreSaidInChinese_data();
    void engineFailuresAreSaidInChinese();
};

void SharedFileTest::claimSurvivesRemovalOfFilesBeside_data() {
    QTest::addColumn<bool>("otherProcess");
    QTest::newRow("another connection of the same program") << false;
    QTest::newRow("another program") << true;
}

void SharedFileTest::claimSurvivesRemovalOfFilesBeside() {
    QFETCH(bool, otherProcess);
    Workspace workspace;
    const QString database = workspace.databasePath();
    OfdMonthClaim first(database);
    QVERIFY(first.claim("202612"));

    // Whatever the program keeps beside the database, someone tidying the folder removes it.
    const QDir folder(workspace.path());
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden))
        if (name != QStringLiteral("GZDB.mdb"))
            QVERIFY(QFile::remove(folder.filePath(name)));

    OfdMonthClaim second(database);
    const auto claimable = [&](const QString &month) {
        return otherProcess ? claimableFromAnotherProcess(database, month) : second.claim(month);
    };
    QVERIFY2(!claimable("202612"), "the month held is refused");
    QVERIFY2(claimable("202611"), "another month is free");
    // The claims and the engine's own locks on the file keep out of each other's way.
    workspace.exec("update GZB set f1 = f1 where ny = '202612'");
    QVERIFY(!claimable("202612"));
    first.release();
    QVERIFY2(claimable("202612"), "released, the month is free");
}

void SharedFileTest::engineFailuresAreSaidInChinese_data() {
    QTest::addColumn<Mishap>("mishap");
    QTest::addColumn<QString>("sentence");
    QTest::addColumn<QString>("engineText");
    QTest::newRow("disk full") << Mishap::DiskFull << "磁盘已满，修改没有保存。"
                               << "database or disk is full";
    QTest::newRow("disk refuses a write")
        << Mishap::WriteRefused << "读写数据库文件时出错，修改没有保存。"
        << "disk I/O error";
    QTest::newRow("damaged file") << Mishap::Damaged
                                  << "数据库文件已损坏，可用 backup 文件夹中的备份恢复。"
                                  << "database disk image is malformed";
    QTest::newRow("locked by another program")
        << Mishap::LockedByAnotherProgram << "数据库文件正被其他程序使用，请稍后再试。"
        << "database is locked";
}

void SharedFileTest::engineFailuresAreSaidInChinese() {
    QFETCH(Mishap, mishap);
    QFETCH(QString, sentence);
    QFETCH(QString, engineText);
    Workspace workspace;
    workspace.exec("insert into GZB (ny,ygh,xm,f1) with recursive n(i) as (select 1 union all "
                   "select i+1 from n where i<2000) select '202611', i, '职工'||i, 100 from n");
    openLines(DM->AQ1, {"select count(*) as n from BMZD"}); // the program is at work
    std::optional<FileSizeLimit> diskFull;
    std::optional<Connection> otherProgram;
    std::optional<QSqlQuery> exclusive;
    switch (mishap) {
    case Mishap::DiskFull: {
        // The engine's own limit on the file's pages: what it says when the disk has no room.
        openLines(DM->AQ1, {"pragma page_count"});
        Query &limit = DM->AQUP;
        limit.clearSql();
        limit.addLine(QStringLiteral("pragma max_page_count = %1")
                          .arg(DM->AQ1.field("page_count").asInteger()));
        limit.execSql();
        break;
    }
    case Mishap::WriteRefused:
        diskFull.emplace(QFileInfo(workspace.databasePath()).size());
        break;
    case Mishap::Damaged:
        damage(workspace.databasePath());
        break;
    case Mishap::LockedByAnotherProgram:
        otherProgram.emplace(workspace.databasePath());
        exclusive.emplace(otherProgram->database());
        QVERIFY(exclusive->exec("begin exclusive"));
        break;
    }
    try {
        Query &update = DM->AQUP;
        update.clearSql();
        update.addLine("update GZB set f1 = f1 + 1, xm = xm || hex(zeroblob(500))");
        update.execSql();
        QFAIL("the statement did not fail");
    } catch (const DbError &error) {
        QCOMPARE(error.text(), sentence + "\n（" + engineText + "）");
    }
}

QTEST_MAIN(SharedFileTest)
#include "test_sharedfile.moc"
