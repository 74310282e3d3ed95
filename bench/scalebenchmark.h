#pragma once

// The scale benchmark (bench_scale.cpp) and the helpers its scenarios share, so that a group
// of scenarios may live in a file of its own (computedmonths.cpp).
#include "comparison.h"
#include "data.h"
#include "monthkey.h"
#include "postgresfloor.h"
#include "salarycolumns.h"
#include "spinedit.h"
#include "sqlitefloor.h"
#include "sqlitehandle.h"
#include "statementtrace.h"
#include "syntheticdata.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>
#include <cstdio>
#include <functional>

class Tfrm_gzlr;

struct Options {
    DatabaseSetup::SyntheticSize size{10000, 40, 24};
    // The file the start-up compaction works on, about 200 MB.
    DatabaseSetup::SyntheticSize compactionSize{10000, 40, 96};
    int fillRows = 240000;
    int runs = 5;
    // At sizes small enough to run in seconds the fixed costs outweigh the work: the ratios
    // show that every scenario runs, not how fast.
    bool smoke = false;
    QString only; // one scenario group by its name, or all
    // A libpq connection string for a superuser on a PostgreSQL server: the scenarios then run
    // on a database made there, against a libpq floor.
    QString server;

    bool wants(const char *scenario) const {
        return only.isEmpty() || only == QLatin1String(scenario);
    }
};

inline sqlite3 *connectionHandle() {
    return sqliteHandle(DM->ADC.database());
}

inline QString count(qint64 number) {
    return QLocale(QLocale::English).toString(number);
}

// The months of the synthetic database: the last is the month before the set-up's "today".
inline const QDate today(2026, 12, 10);
inline QString monthBack(int back) {
    const QDate month = QDate(today.year(), today.month(), 1).addMonths(-back);
    return monthKey(month.year(), month.month());
}

inline void setMonth(SpinEdit *year, SpinEdit *month, const QString &key) {
    year->setValue(key.left(4).toInt());
    month->setValue(key.mid(4).toInt());
}

// On the server the fill and the pay slips may take half again their floor's time, every
// other path a fifth more; a target in seconds, or none, stays as it is.
inline QString serverTarget(const QString &fileTarget) {
    if (fileTarget == QStringLiteral("≤ 1.5×") || !fileTarget.endsWith(QChar(u'×')))
        return fileTarget;
    return QStringLiteral("≤ 1.2×");
}

class ScaleBenchmark {
public:
    ScaleBenchmark(const Options &options, SqliteFloor &floor)
        : m_options(options), m_floor(&floor) {}
    ScaleBenchmark(const Options &options, PostgresFloor &server)
        : m_options(options), m_server(&server) {}

    QList<Comparison> results;

    void fill();
    void memory();
    void queryWindow();
    void statistics();
    void paySlips();
    void previews();
    void entryWindow();
    void firstUse();
    void compaction(const QString &copy);
    void importPreview();
    void computedMonths();

private:
    // The floor of a handler: the statements it ran, replayed on the file or the server.
    std::function<void()> statementsOf(const std::function<void()> &program) {
        if (m_server)
            return m_server->replayOf(program);
        const QStringList statements = traceStatements(connectionHandle(), program);
        if (qEnvironmentVariableIsSet("BENCH_SHOW_SQL"))
            for (const QString &sql : statements)
                std::fprintf(stderr, "    %s\n", qPrintable(sql.simplified().left(160)));
        return [this, statements] {
            for (const QString &sql : statements)
                m_floor->run(sql);
        };
    }
    TimedRun replay(const std::function<void()> &program) {
        return [statements = statementsOf(program)] { return millisecondsOf(statements); };
    }
    // Set-up between runs, straight on the engine the program runs on.
    void runStraight(const QString &sql) {
        if (m_server)
            m_server->run(sql);
        else
            m_floor->run(sql);
    }
    void cancelEntry(Tfrm_gzlr &window);
    TimedRun serverFillFloor(const QString &sql, int columns,
                             const std::function<qint64(int row, int column)> &amount);
    // A handler's run: `before` and `after` put the window where the run starts and ends,
    // untimed; the floor replays what `measured` ran, between the same `before` and `after`.
    // Between the operator's actions the window's event loop runs: what `before` left queued
    // (repaints, layouts) is dealt with before the run, not by it.
    // `floorWork`, where given, is what the floor does beyond the replayed statements.
    void addHandler(const QString &scenario, const QString &size, const QString &target,
                    const std::function<void()> &before, const std::function<void()> &measured,
                    const std::function<void()> &after,
                    const std::function<void()> &floorWork = {}) {
        before();
        const TimedRun replayed = replay(measured);
        after();
        add(
            scenario, size, target,
            [&] {
                before();
                QCoreApplication::processEvents();
                const double ms = replayed() + (floorWork ? millisecondsOf(floorWork) : 0);
                after();
                return ms;
            },
            [&] {
                before();
                QCoreApplication::processEvents();
                const double ms = millisecondsOf(measured);
                after();
                return ms;
            });
    }
    void add(const QString &scenario, const QString &size, const QString &target,
             const TimedRun &floor, const TimedRun &program) {
        results << compare(scenario, size, m_server ? serverTarget(target) : target, m_options.runs,
                           floor, program);
    }
    QStringList amountColumns() const {
        QStringList columns;
        const int earnings = (m_options.size.items + 1) / 2;
        for (int slot = 1; slot <= earnings; ++slot)
            columns << SalaryColumns::itemColumn(SalaryColumns::earning, slot);
        for (int slot = 1; slot <= m_options.size.items - earnings; ++slot)
            columns << SalaryColumns::itemColumn(SalaryColumns::deduction, slot);
        return columns;
    }
    QString employees() const { return count(m_options.size.employees); }

    const Options &m_options;
    SqliteFloor *m_floor = nullptr;    // on a file
    PostgresFloor *m_server = nullptr; // on a server
};
