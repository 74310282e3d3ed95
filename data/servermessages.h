#pragma once

#include "dberror.h"

#include <QString>

class DatabaseAddress;
struct pg_conn;
struct pg_result;

// What the clerk reads when a database server refuses, fails or goes away: one Chinese
// sentence that says what happened and what to do, then the server's own words (English as a
// rule) on a line of their own, for whoever looks after the server. The error's kind tells the
// windows what is left of the session.

// A statement the server refused or could not finish: `result` is its answer, null when
// libpq failed before there was one. A connection that is gone makes it ConnectionLost.
DbError serverFailure(pg_conn *connection, const pg_result *result);

// The connection to `address` could not be made; `reason` is libpq's account of it. After
// a connection that worked, whatever the session held is gone: ConnectionLost.
DbError connectionFailure(const DatabaseAddress &address, const QString &reason, bool reconnecting);

// A statement of a transaction or a batch whose connection was lost.
DbError lostInTransactionError();

// The connection string cannot be read; it is not shown, as it may hold a password.
DbError unreadableAddressError();

// The server did not answer within the limit; the connection was dropped.
DbError noAnswerError(int seconds);
