#pragma once

class Connection;
class Engine;

// Row-by-row writes whose results nobody reads (a month's computed amounts, a fill's inserts)
// sent together: on a server they travel in pipelined batches instead of one round trip each;
// on a file they run as always. Meanwhile a written statement's rowsAffected() reads 0, and
// its error may surface only at finish(), which must be reached for the writes to count. A
// batch left without finish() (an exception on its way) is given up; the transaction it
// belongs to must then be rolled back, as it is by Transaction.
class WriteBatch {
public:
    explicit WriteBatch(Connection &connection);
    ~WriteBatch();
    WriteBatch(const WriteBatch &) = delete;
    WriteBatch &operator=(const WriteBatch &) = delete;

    // Sends what is left and throws DbError with the first refusal.
    void finish();

private:
    Engine &m_engine;
    bool m_finished = false;
};
