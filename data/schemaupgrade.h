#pragma once

#include <QSqlDatabase>
#include <QString>

// Bringing a file of an earlier layout up to this program's, on its first use by the
// program: a backup first, then every later version's additions from data/schema.sql and the
// new version number, in one transaction. Nothing of the file changes when either fails.

// Upgrades the connected file at `databasePath` from `version`; throws DbError, with the
// file left as it was, when no backup could be written or a statement fails.
void upgradeLayout(QSqlDatabase &db, const QString &databasePath, int version);
