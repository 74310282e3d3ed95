#pragma once

#include "connection.h"

class Engine;

// Work that must land whole or not at all: rolled back unless commit() is reached.
class Transaction {
public:
    explicit Transaction(Connection &connection);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

private:
    Engine &m_engine;
    bool m_done = false;
};
