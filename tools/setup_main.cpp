// gzdb-setup: creates the payroll database file GZDB.mdb in a folder, or the payroll's tables
// in an empty database on a PostgreSQL server.
//   gzdb-setup [--demo | --synthetic EMPLOYEES,ITEMS,MONTHS] FOLDER
//   gzdb-setup [--demo | --synthetic EMPLOYEES,ITEMS,MONTHS] --server URI
//   gzdb-setup --copy FOLDER --server URI
// --demo also stores a small example organisation with its last three months of salaries;
// --synthetic a made-up one of the given size, for measuring the program at scale; --copy
// moves the GZDB.mdb of FOLDER to an empty server database, checking every count and sum.
// A server's timeouts are read from gzgl.ini in the working folder, as the program reads them.
#include "databasecopy.h"
#include "databasesetup.h"
#include "syntheticdata.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <cstdio>
#include <optional>

namespace {

int usage() {
    std::fprintf(stderr, "usage: gzdb-setup [--demo | --synthetic EMPLOYEES,ITEMS,MONTHS] FOLDER\n"
                         "       gzdb-setup [--demo | --synthetic EMPLOYEES,ITEMS,MONTHS] --server "
                         "URI\n"
                         "       gzdb-setup --copy FOLDER --server URI\n");
    return 2;
}

// Takes "--name VALUE" out of the arguments; false when the name stands without a value.
bool takeOption(QStringList &arguments, const QString &name, std::optional<QString> &value) {
    const qsizetype option = arguments.indexOf(name);
    if (option < 0)
        return true;
    if (option + 1 >= arguments.size())
        return false;
    value = arguments.at(option + 1);
    arguments.remove(option, 2);
    return true;
}

int copy(const QString &folder, const DatabaseAddress &server) {
    try {
        const DatabaseSetup::CopyReport report = DatabaseSetup::copyToServer(folder, server);
        for (const QString &line : report.lines)
            std::printf("%s\n", qPrintable(line));
        if (!report.identical) {
            std::fprintf(stderr, "gzdb-setup: the copy differs from the file; nothing was kept "
                                 "on the server\n");
            return 1;
        }
        std::printf("copied %s to %s\n",
                    qPrintable(QDir::toNativeSeparators(QDir(folder).absoluteFilePath("GZDB.mdb"))),
                    qPrintable(server.shownName()));
        return 0;
    } catch (const std::exception &failure) {
        std::fprintf(stderr, "gzdb-setup: %s\n", failure.what());
        return 1;
    }
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    const bool demo = arguments.removeAll(QStringLiteral("--demo")) > 0;
    std::optional<QString> synthetic;
    std::optional<QString> server;
    std::optional<QString> copyFrom;
    if (!takeOption(arguments, QStringLiteral("--synthetic"), synthetic) ||
        !takeOption(arguments, QStringLiteral("--server"), server) ||
        !takeOption(arguments, QStringLiteral("--copy"), copyFrom) || (demo && synthetic))
        return usage();
    if (copyFrom) {
        if (!server || demo || synthetic || !arguments.isEmpty())
            return usage();
        return copy(*copyFrom, DatabaseAddress::server(*server, ServerTimeouts::configured()));
    }
    const DatabaseSetup::Contents contents =
        demo ? DatabaseSetup::Contents::Demo : DatabaseSetup::Contents::Empty;
    const char *what = demo ? " with demonstration data" : synthetic ? " with synthetic data" : "";
    if (server) {
        if (!arguments.isEmpty() || server->isEmpty())
            return usage();
        try {
            const DatabaseAddress address =
                DatabaseAddress::server(*server, ServerTimeouts::configured());
            if (synthetic)
                DatabaseSetup::createSyntheticServerDatabase(
                    address, DatabaseSetup::parseSyntheticSize(*synthetic));
            else
                DatabaseSetup::createServerDatabase(address, contents);
            std::printf("set up %s%s\n", qPrintable(address.shownName()), what);
            return 0;
        } catch (const std::exception &failure) {
            std::fprintf(stderr, "gzdb-setup: %s\n", failure.what());
            return 1;
        }
    }
    if (arguments.size() != 1 || arguments.first().startsWith(QChar('-')))
        return usage();
    try {
        const QString folder = arguments.first();
        const QString path = synthetic ? DatabaseSetup::createSyntheticDatabase(
                                             folder, DatabaseSetup::parseSyntheticSize(*synthetic))
                                       : DatabaseSetup::createDatabase(folder, contents);
        std::printf("created %s%s\n", qPrintable(QDir::toNativeSeparators(path)), what);
        return 0;
    } catch (const std::exception &failure) {
        std::fprintf(stderr, "gzdb-setup: %s\n", failure.what());
        return 1;
    }
}
