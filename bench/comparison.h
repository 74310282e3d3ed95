#pragma once

#include <QList>
#include <QString>
#include <functional>

// One scenario timed side by side: the floor and the program, each a run that returns the
// milliseconds of the part it measures (set-up work between runs stays out of the figure).
struct Comparison {
    QString scenario;
    QString size;
    QString target;
    double floorMs = 0;
    double programMs = 0;
};

using TimedRun = std::function<double()>;

// One untimed round first (caches, prepared statements), then `runs` rounds alternating floor
// and program; the medians of each.
Comparison compare(const QString &scenario, const QString &size, const QString &target, int runs,
                   const TimedRun &floor, const TimedRun &program);

// Milliseconds `action` took.
double millisecondsOf(const std::function<void()> &action);

// The rows as a Markdown table; a smoke run's targets are shown as not applying.
void printTable(const QList<Comparison> &rows, bool smoke = false);
