#pragma once

#include "databaseaddress.h"

// The engine a test runs on. A test registered twice runs once on a file and once, as its
// "_server" twin, on the throwaway PostgreSQL server that scripts/with-postgres starts
// (GZ_TEST_SERVER names it).
bool testsOnServer();

// This test process's own database on the test server, emptied of everything a previous
// workspace left in it. Aborts the test process with a clear message when no server was
// started for it.
DatabaseAddress freshServerDatabase();

// Ends the session of the program's connection (DM's) from another one, as an administrator
// or a restarted server would, and returns once it has ended.
void endProgramSession();

// Skips a test of what only a database file has: its name on disk, its header, its lock
// files, its backups, reading it with the sqlite3 shell.
#define SKIP_ON_SERVER()                                                                           \
    do {                                                                                           \
        if (testsOnServer())                                                                       \
            QSKIP("what only a database file has");                                                \
    } while (false)
