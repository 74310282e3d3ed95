#pragma once

#include <QStringList>
#include <functional>

struct sqlite3;

// The statements `action` runs on the connection, each with its bound values written in, in
// the order they ran: what the floor replays to do the same work without the program's layers.
QStringList traceStatements(sqlite3 *connection, const std::function<void()> &action);
