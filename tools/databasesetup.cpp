#include "databasesetup.h"

#include "connection.h"
#include "dberror.h"
#include "demodata.h"
#include "schemastatements.h"
#include "serversetup.h"
#include "syntheticdata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <functional>

namespace DatabaseSetup {
namespace {

QStringList programSchema() {
    QStringList statements = schemaStatements();
    if (statements.isEmpty())
        throw SetupError("the database schema is missing from the program");
    return statements;
}

// Runs one step of the set-up; its error, if any, is read only after it ran.
template <typename Step, typename ErrorOf> void check(Step step, ErrorOf errorOf) {
    if (step())
        return;
    const QSqlError error = errorOf();
    throw SetupError(
        (error.databaseText().isEmpty() ? error.text() : error.databaseText()).toStdString());
}

void createStructure(const QString &path) {
    const QString name =
        QStringLiteral("gz-setup-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const auto forget = qScopeGuard([&name] { QSqlDatabase::removeDatabase(name); });
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    const auto dbError = [&db] { return db.lastError(); };
    check([&db] { return db.open(); }, dbError);
    const auto close = qScopeGuard([&db] { db.close(); });
    check([&db] { return db.transaction(); }, dbError);
    for (const QString &statement : programSchema()) {
        QSqlQuery query(db);
        check([&] { return query.exec(statement); }, [&query] { return query.lastError(); });
    }
    check([&db] { return db.commit(); }, dbError);
}

void removeFile(const QString &path) {
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

// The file is made under a name of its own and only named GZDB.mdb once it is complete, so
// that no failure, not even a killed process, leaves a GZDB.mdb that would later pass for a
// payroll.
void build(const QString &partial, const QString &path,
           const std::function<void(const QString &)> &fill) {
    createStructure(partial);
    fill(partial);
    if (!QFile::rename(partial, path))
        throw SetupError(QFile::exists(path) ? "another program created it meanwhile"
                                             : "it could not be given its name");
}

// Makes GZDB.mdb in the folder: the structure, then whatever `fill` stores in it.
QString create(const QString &folder, const std::function<void(const QString &)> &fill) {
    // An empty name would be the working folder, which the operator did not name.
    if (folder.isEmpty())
        throw SetupError("no folder given");
    const QFileInfo info(folder);
    // A folder the operator names for a new database is made, as a shell's mkdir would make
    // it: inside a folder that exists. A typing error further up then stays an error.
    const bool made = !info.exists() && QDir().mkdir(folder);
    if (!info.exists() && !made)
        throw SetupError(QStringLiteral("folder %1 does not exist and cannot be made")
                             .arg(folder)
                             .toStdString());
    if (!made && !info.isDir())
        throw SetupError(QStringLiteral("%1 is not a folder").arg(folder).toStdString());
    const QDir dir(folder);
    const QString path = dir.absoluteFilePath(QStringLiteral("GZDB.mdb"));
    const QString shown = QDir::toNativeSeparators(path);
    if (QFile::exists(path))
        throw SetupError(
            QStringLiteral("%1 already exists; it is left as it is").arg(shown).toStdString());

    const QString partial =
        path + QStringLiteral(".partial-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    try {
        build(partial, path, fill);
    } catch (const std::exception &failure) {
        removeFile(partial);
        if (made)
            QDir().rmdir(folder);
        throw SetupError(QStringLiteral("%1 was not created: %2")
                             .arg(shown, QString::fromUtf8(failure.what()))
                             .toStdString());
    }
    return path;
}

// The tables, then whatever `fill` stores in them; a fill that fails takes the tables with it,
// so that the database is as empty as it was found and the set-up can simply be run again.
void createOnServer(const DatabaseAddress &server, const std::function<void(Connection &)> &fill) {
    const QString shown = server.shownName();
    try {
        createServerStructure(server);
    } catch (const DbError &failure) {
        throw SetupError(
            QStringLiteral("%1 was not set up: %2").arg(shown, failure.text()).toStdString());
    }
    try {
        Connection connection(server);
        fill(connection);
    } catch (const std::exception &failure) {
        try {
            removeServerStructure(server);
        } catch (const DbError &) {
            // The server went away: what it holds is the operator's to look at.
        }
        throw SetupError(QStringLiteral("%1 was not set up: %2")
                             .arg(shown, QString::fromUtf8(failure.what()))
                             .toStdString());
    }
}

} // namespace

QString createDatabase(const QString &folder, Contents contents, QDate today) {
    return create(folder, [&](const QString &partial) {
        if (contents == Contents::Demo) {
            Connection connection(partial);
            fillDemoData(connection, today);
        }
    });
}

QString createSyntheticDatabase(const QString &folder, const SyntheticSize &size, QDate today) {
    return create(folder, [&](const QString &partial) {
        Connection connection(partial);
        fillSyntheticData(connection, size, today);
    });
}

void createServerDatabase(const DatabaseAddress &server, Contents contents, QDate today) {
    createOnServer(server, [&](Connection &connection) {
        if (contents == Contents::Demo)
            fillDemoData(connection, today);
    });
}

void createSyntheticServerDatabase(const DatabaseAddress &server, const SyntheticSize &size,
                                   QDate today) {
    createOnServer(server,
                   [&](Connection &connection) { fillSyntheticData(connection, size, today); });
}

} // namespace DatabaseSetup
