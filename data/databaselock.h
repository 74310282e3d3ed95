#pragma once

#include <QString>

// An advisory lock that lets copies of the program know about each other: SQLite holds no
// lock while a connection is idle, so a second copy could not otherwise tell that the file
// is in use. A running program holds it shared from start-up to its end; replacing the file
// needs it exclusively.
//
// The lock is held on the database file itself (see ofdlockbytes.h), never on a file beside
// it: a file beside could be removed while a copy runs, and the next copy, finding none, would
// believe itself alone and replace the database under the first. As replacing the file gives
// the name a new file, a lock is held only once the name is known still to name the file
// locked: a lock on the file as it was before a replacement holds nobody back.
//
// Closing a descriptor of the database drops every classic record lock the process holds on
// it, the engine's too: a lock must outlive the process's connections to the file.
class DatabaseLock {
public:
    enum class Mode {
        // Waits while another copy holds the lock exclusively: it is replacing the file.
        Shared,
        // Gives up at once when any other holder exists.
        Exclusive,
    };

    // Not held when the database file does not exist or cannot be opened (for an exclusive
    // lock: opened for writing).
    DatabaseLock(const QString &databasePath, Mode mode);
    ~DatabaseLock();
    DatabaseLock(const DatabaseLock &) = delete;
    DatabaseLock &operator=(const DatabaseLock &) = delete;

    bool isHeld() const { return m_descriptor >= 0; }

private:
    int m_descriptor = -1;
};
