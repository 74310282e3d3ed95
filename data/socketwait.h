#pragma once

#include <chrono>

// Waiting on a network socket with a limit, so that a server that stops answering costs the
// clerk a message, never a frozen window. The one place that asks the operating system about
// sockets.

using SocketDeadline = std::chrono::steady_clock::time_point;

// Waits until `socket` can be read (or, with `forWriting`, also written), or `deadline`
// passes. False when the deadline passed first; true also when the socket failed, which the
// next read reports.
bool waitForSocket(int socket, bool forWriting, SocketDeadline deadline);

// Ends the traffic on `socket` in both directions without closing it, so that its owner (the
// library that opened it) reads the end of the connection at its next read and closes it
// itself.
void abandonSocket(int socket);
