#pragma once

#include "engine.h"
#include "resultsizes.h"

#include <QSqlDatabase>
#include <QString>

// The payroll in one SQLite file: the default, for one clerk on one PC. The file is opened
// shared (another program may use it meanwhile) and never created: a missing file is an
// error, not an empty database. A file that is not one of this program's (see filemark.h), or
// of a newer layout than this program's, is refused before any statement runs on it. The
// connection gets a worksheet of its own (see sqliteworksheet.h), and month claims on the
// database file itself (see ofdmonthclaim.h).
class SqliteEngine : public Engine {
public:
    // Opens `fileName` in the working folder; throws DbError. With `upgradesOlderLayout`, a
    // file of an earlier layout is brought up to date first (after a backup).
    SqliteEngine(const QString &fileName, bool upgradesOlderLayout);
    ~SqliteEngine() override;
    SqliteEngine(const SqliteEngine &) = delete;
    SqliteEngine &operator=(const SqliteEngine &) = delete;

    bool isOpen() const;
    // For work only a file has: its compaction, its checks, the benchmark's floor.
    QSqlDatabase database() const;

    SqlDialect dialect() const override { return SqlDialect::Sqlite; }
    std::unique_ptr<EngineStatement> prepare(const QString &sql) override;
    void execute(const QString &sql) override;
    void begin() override;
    void commit() override;
    void rollback() override;
    MonthClaim &monthClaim() override;
    // A file is written in place: there is no round trip to save.
    void beginBatch() override {}
    void endBatch(bool) override {}

private:
    // The file's layout version; throws DbError for a newer one than this program's.
    int checkedLayoutVersion();

    QString m_fileName;
    QString m_path;
    QString m_connectionName;
    std::unique_ptr<MonthClaim> m_monthClaim;
    ResultSizes m_resultSizes;
};
