#pragma once

#include "databaseaddress.h"

// Making a server database ready for the payroll, for the set-up tool: the tables of
// data/schema.sql as the server holds them (see serverschema.h), created in one transaction.

// Creates the tables in the database `address` names, which must hold no tables of its own
// yet: a database already in use is never touched. Throws DbError naming the server.
void createServerStructure(const DatabaseAddress &address);

// Removes what createServerStructure made, with every row stored since: for a set-up that
// failed halfway. Throws DbError.
void removeServerStructure(const DatabaseAddress &address);
