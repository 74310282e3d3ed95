#include "comparison.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

double millisecondsOf(const std::function<void()> &action) {
    QElapsedTimer timer;
    timer.start();
    action();
    return double(timer.nsecsElapsed()) / 1e6;
}

Comparison compare(const QString &scenario, const QString &size, const QString &target, int runs,
                   const TimedRun &floor, const TimedRun &program) {
    // The program goes first once: some floors replay what it ran.
    program();
    floor();
    std::vector<double> floorTimes;
    std::vector<double> programTimes;
    for (int run = 0; run < runs; ++run) {
        floorTimes.push_back(floor());
        programTimes.push_back(program());
    }
    Comparison result{scenario, size, target, median(floorTimes), median(programTimes)};
    std::fprintf(stderr, "  %s: floor %.1f ms, program %.1f ms\n", qPrintable(scenario),
                 result.floorMs, result.programMs);
    return result;
}

void printTable(const QList<Comparison> &rows, bool smoke) {
    if (smoke)
        std::printf("Smoke run at the small sizes of --quick: the ratios are not measured "
                    "against the targets.\n\n");
    std::printf("| scenario | size | floor | program | ratio | target |\n");
    std::printf("|---|---|---|---|---|---|\n");
    for (const Comparison &row : rows)
        std::printf("| %s | %s | %.1f ms | %.1f ms | %.2f× | %s |\n", qPrintable(row.scenario),
                    qPrintable(row.size), row.floorMs, row.programMs, row.programMs / row.floorMs,
                    smoke ? "(smoke run)" : qPrintable(row.target));
}
