// Clerks sharing one database file: a month one of them holds stays held whatever happens to
// the files beside the database, whether the other clerk is another process or another
// connection of the same one.
#include "ofdmonthclaim.h"
#include "workspace.h"

#include <QTest>
#include <csignal>
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

} // namespace

class SharedFileTest : public QObject {
    Q_OBJECT
private slots:
    void claimSurvivesRemovalOfFilesBeside_data();
    void claimSurvivesRemovalOfFilesBeside();
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

QTEST_MAIN(SharedFileTest)
#include "test_sharedfile.moc"
