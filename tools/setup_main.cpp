// gzdb-setup: creates the payroll database file GZDB.mdb in a folder.
//   gzdb-setup [--demo] FOLDER
// --demo also stores a small example organisation with its last three months of salaries.
#include "databasesetup.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    const bool demo = arguments.removeAll(QStringLiteral("--demo")) > 0;
    if (arguments.size() != 1 || arguments.first().startsWith(QChar('-'))) {
        std::fprintf(stderr, "usage: gzdb-setup [--demo] FOLDER\n");
        return 2;
    }
    try {
        const QString path =
            DatabaseSetup::createDatabase(arguments.first(), demo ? DatabaseSetup::Contents::Demo
                                                                  : DatabaseSetup::Contents::Empty);
        std::printf("created %s%s\n", qPrintable(QDir::toNativeSeparators(path)),
                    demo ? " with demonstration data" : "");
        return 0;
    } catch (const std::exception &failure) {
        std::fprintf(stderr, "gzdb-setup: %s\n", failure.what());
        return 1;
    }
}
