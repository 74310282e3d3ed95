#include "schemaupgrade.h"

#include "databasebackup.h"
#include "dberror.h"
#include "schemaversion.h"

#include <QDateTime>
#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

QStringList statementsAfterVersion(int version) {
    QFile file(QStringLiteral(":/data/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("The database schema is missing from the program"));
    static const QRegularExpression versionLine(QStringLiteral("^--\\s*Version\\s+(\\d+)"));
    int section = 1;
    QString text;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QChar('\n'))) {
        const QRegularExpressionMatch match = versionLine.match(line);
        if (match.hasMatch())
            section = match.captured(1).toInt();
        else if (section > version && !line.trimmed().startsWith(QStringLiteral("--")))
            text += line + QChar('\n');
    }
    QStringList statements;
    for (const QString &statement : text.split(QChar(';')))
        if (!statement.trimmed().isEmpty())
            statements << statement.trimmed();
    return statements;
}

namespace {

void run(QSqlDatabase &db, const QString &statement) {
    QSqlQuery query(db);
    if (!query.exec(statement))
        throw DbError(query.lastError().databaseText());
}

} // namespace

void upgradeLayout(QSqlDatabase &db, const QString &databasePath, int version) {
    if (backUpDatabase(databasePath, QDateTime::currentDateTime()).isEmpty())
        throw DbError(QStringLiteral("%1 has database version %2 and must be brought up to "
                                     "version %3, but no backup of it could be written first; it "
                                     "is left untouched")
                          .arg(databasePath)
                          .arg(version)
                          .arg(schemaVersion));
    if (!db.transaction())
        throw DbError(db.lastError().databaseText());
    try {
        for (const QString &statement : statementsAfterVersion(version))
            run(db, statement);
        run(db, QStringLiteral("pragma user_version = %1").arg(schemaVersion));
        if (!db.commit())
            throw DbError(db.lastError().databaseText());
    } catch (...) {
        db.rollback();
        throw;
    }
}
