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
