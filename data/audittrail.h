#pragma once

#include "currency.h"

#include <QByteArray>
#include <QString>

class Connection;

// What a month holds in GZB at one moment: its rows and their totals.
struct MonthFigures {
    int rows = 0;
    Currency earnings;
    Currency deductions;
    Currency net;
};

MonthFigures monthFigures(Connection &connection, const QString &month);

// The trail of what was done to each month (table SJJL): only ever added to, each row in the
// same transaction as what it records, so that a change and its row land together or not at
// all. Who did it is the operating-system user on a file and the database's own user on a
// server, which a clerk cannot choose.
namespace AuditTrail {

enum class Action { Save, Adjust, Delete, Recompute, Close, Reopen, Export };

// The clerk's word for an action, as the trail stores and shows it.
QString actionName(Action action);

struct Entry {
    QString month;
    Action action;
    MonthFigures before;
    MonthFigures after;
    QString file;   // an export's file
    QString sha256; // its SHA-256, lower-case hex
    QString reason; // a reopen's
};

// Adds `entry`. Throws DbError.
void record(Connection &connection, const Entry &entry);

// The SHA-256 of the file at `path` as written, lower-case hex; empty when it cannot be read.
QString fileSha256(const QString &path);

// Records that `month` was exported to the file at `path`, whose SHA-256 is `sha256`
// (fileSha256 of the completed file): the month is as it was, before and after.
void recordExport(Connection &connection, const QString &month, const QString &path,
                  const QString &sha256);

} // namespace AuditTrail
