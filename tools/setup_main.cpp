// gzdb-setup: creates the payroll database file GZDB.mdb in a folder.
//   gzdb-setup [--demo | --synthetic EMPLOYEES,ITEMS,MONTHS] FOLDER
// --demo also stores a small example organisation with its last three months of salaries;
// --synthetic a made-up one of the given size, for measuring the program at scale.
#include "databasesetup.h"
#include "syntheticdata.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <cstdio>
#include <optional>

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: gzdb-setup [--demo | --synthetic EMPLOYEES,ITEMS,MONTHS] FOLDER\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    const bool demo = arguments.removeAll(QStringLiteral("--demo")) > 0;
    std::optional<QString> synthetic;
    const qsizetype option = arguments.indexOf(QStringLiteral("--synthetic"));
    if (option >= 0) {
        if (option + 1 >= arguments.size())
            return usage();
        synthetic = arguments.at(option + 1);
        arguments.remove(option, 2);
    }
    if (arguments.size() != 1 || arguments.first().startsWith(QChar('-')) || (demo && synthetic))
        return usage();
    try {
        const QString folder = arguments.first();
        const QString path =
            synthetic
                ? DatabaseSetup::createSyntheticDatabase(
                      folder, DatabaseSetup::parseSyntheticSize(*synthetic))
                : DatabaseSetup::createDatabase(folder, demo ? DatabaseSetup::Contents::Demo
                                                             : DatabaseSetup::Contents::Empty);
        std::printf("created %s%s\n", qPrintable(QDir::toNativeSeparators(path)),
                    demo        ? " with demonstration data"
                    : synthetic ? " with synthetic data"
                                : "");
        return 0;
    } catch (const std::exception &failure) {
        std::fprintf(stderr, "gzdb-setup: %s\n", failure.what());
        return 1;
    }
}
