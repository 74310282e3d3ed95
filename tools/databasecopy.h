#pragma once

#include "databaseaddress.h"

#include <QString>
#include <QStringList>

// Moving an office from its database file to a database server.
namespace DatabaseSetup {

// What the copy found on both sides: one line per table (its rows) and per stored month (the
// sums of every amount column), the file's figure beside the server's.
struct CopyReport {
    QStringList lines;
    bool identical = true;
};

// Copies the GZDB.mdb of `folder` into the empty database `server` names, in one transaction:
// the tables, their rows, then the check. The transaction is committed only when every count
// and every sum agrees; otherwise nothing stays on the server and the report says where they
// differ. The file is only read. Throws SetupError when the copy cannot be made at all.
CopyReport copyToServer(const QString &folder, const DatabaseAddress &server);

} // namespace DatabaseSetup
