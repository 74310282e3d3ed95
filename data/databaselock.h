#pragma once

#include <QString>

// An advisory lock that lets copies of the program know about each other: SQLite holds no
// lock while a connection is idle, so a second copy could not otherwise tell that the file
// is in use. A running program holds it shared from start-up to its end; replacing the file
// needs it exclusively. The lock lives on a file of its own beside the database ("GZDB.mdb"
// gives "GZDB.mdb.lock"), which is never replaced, so every copy locks the same file, and
// which never touches the locks SQLite keeps on the database itself.
class DatabaseLock {
public:
    enum class Mode {
        // Waits while another copy holds the lock exclusively: it is replacing the file.
        Shared,
        // Gives up at once when any other holder exists.
        Exclusive,
    };

    // Not held when the database file does not exist (no lock file is made for it) or the
    // lock file can be neither made nor opened.
    DatabaseLock(const QString &databasePath, Mode mode);
    ~DatabaseLock();
    DatabaseLock(const DatabaseLock &) = delete;
    DatabaseLock &operator=(const DatabaseLock &) = delete;

    bool isHeld() const { return m_descriptor >= 0; }

private:
    int m_descriptor = -1;
};
