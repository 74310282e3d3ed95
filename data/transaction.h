#pragma once

#include "connection.h"

// Work that must land whole or not at all: rolled back unless commit() is reached.
class Transaction {
public:
    explicit Transaction(Connection &connection);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

private:
    QSqlDatabase m_database;
    bool m_done = false;
};
