#pragma once

#include "databaseaddress.h"

#include <QString>

struct pg_conn;
struct pg_result;

// Talking to a database server without ever waiting on it for ever: the connection is made
// within the address's connect timeout, every statement carries the server's own
// statement_timeout, and every answer is waited for with a limit a little longer than that.
// A server that lets the limit pass without a word has its connection dropped, and the wait
// ends in a DbError of kind TimedOut; libpq then reports the connection gone, and whoever
// owns it makes a new one. Every error reads as servermessages.h says.

// Connects to the server `address` names. Throws DbError naming the server, never its
// password; ConnectionLost when `reconnecting`. The caller owns the connection (PQfinish).
pg_conn *connectToServer(const DatabaseAddress &address, bool reconnecting = false);

// A result that frees itself; checked(): throws DbError unless the statement succeeded.
class ServerResult {
public:
    ServerResult(pg_conn *connection, pg_result *result);
    ~ServerResult();
    ServerResult(ServerResult &&other) noexcept;
    ServerResult(const ServerResult &) = delete;
    ServerResult &operator=(const ServerResult &) = delete;
    ServerResult &operator=(ServerResult &&) = delete;
    pg_result *get() const { return m_result; }
    const ServerResult &checked() const;

private:
    pg_conn *m_connection;
    pg_result *m_result;
};

// Sends `sql` (no parameters) and waits for its answer, unchecked.
ServerResult askServer(pg_conn *connection, const QString &sql);

// Runs a statement without parameters; throws DbError.
void runOnServer(pg_conn *connection, const QString &sql);

// Waits for the whole answer to the request just sent (PQsendQuery and its kin): the first
// failure in it, else its last result, as PQexec would give. A send that failed is a
// failure of the connection: pass `sent` as the send call returned it.
ServerResult awaitAnswer(pg_conn *connection, int sent = 1);

// The next result of what was sent, or null at the end of one statement's answers, as
// PQgetResult, with the same limit; for answers read one by one (pipelines, COPY).
pg_result *awaitResult(pg_conn *connection);
