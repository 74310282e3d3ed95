#include "databasesetup.h"

#include "demodata.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace DatabaseSetup {
namespace {

QStringList schemaStatements() {
    QFile file(QStringLiteral(":/data/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw SetupError("the database schema is missing from the program");
    QString text;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QChar('\n')))
        if (!line.trimmed().startsWith(QStringLiteral("--")))
            text += line + QChar('\n');
    QStringList statements;
    for (const QString &statement : text.split(QChar(';')))
        if (!statement.trimmed().isEmpty())
            statements << statement.trimmed();
    return statements;
}

void createStructure(const QString &path) {
    const QString name =
        QStringLiteral("gz-setup-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            throw SetupError(db.lastError().text().toStdString());
        db.transaction();
        for (const QString &statement : schemaStatements()) {
            QSqlQuery query(db);
            if (!query.exec(statement)) {
                const std::string message = query.lastError().text().toStdString();
                db.rollback();
                db.close();
                QFile::remove(path);
                throw SetupError(message);
            }
        }
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

QString createDatabase(const QString &folder, Contents contents, QDate today) {
    const QDir dir(folder);
    if (!dir.exists())
        throw SetupError(QStringLiteral("folder %1 does not exist").arg(folder).toStdString());
    const QString path = dir.absoluteFilePath(QStringLiteral("GZDB.mdb"));
    if (QFile::exists(path))
        throw SetupError(QStringLiteral("%1 already exists; it is left as it is")
                             .arg(QDir::toNativeSeparators(path))
                             .toStdString());

    createStructure(path);
    if (contents == Contents::Demo) {
        try {
            fillDemoData(path, today);
        } catch (...) {
            QFile::remove(path);
            throw;
        }
    }
    return path;
}

} // namespace DatabaseSetup
