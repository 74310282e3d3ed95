#pragma once

#include "databaseaddress.h"

#include <QDate>
#include <QString>
#include <stdexcept>

// Making the database file a user starts with: the structure from the schema and, on request,
// a small believable organisation with the three months before `today` already stored.
namespace DatabaseSetup {

class SetupError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class Contents { Empty, Demo };

// Creates GZDB.mdb in the folder (which must exist) and returns its path. Never overwrites
// an existing file: that would destroy a payroll. Throws SetupError naming the file; a file
// that could not be finished (a full disk, a folder it may not write to) is not left behind.
QString createDatabase(const QString &folder, Contents contents,
                       QDate today = QDate::currentDate());

struct SyntheticSize;

// The same, holding a made-up organisation of the given size (see syntheticdata.h).
QString createSyntheticDatabase(const QString &folder, const SyntheticSize &size,
                                QDate today = QDate::currentDate());

// The same on a database server: the tables in the (empty) database `server` names, and the
// same contents. Throws SetupError naming the server; a database that already holds tables
// is left as it is, and one whose filling failed is left empty again.
void createServerDatabase(const DatabaseAddress &server, Contents contents,
                          QDate today = QDate::currentDate());
void createSyntheticServerDatabase(const DatabaseAddress &server, const SyntheticSize &size,
                                   QDate today = QDate::currentDate());

} // namespace DatabaseSetup
