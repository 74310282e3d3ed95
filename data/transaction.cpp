#include "transaction.h"

#include "engine.h"

Transaction::Transaction(Connection &connection) : m_engine(connection.engine()) {
    m_engine.begin();
}

Transaction::~Transaction() {
    if (!m_done)
        m_engine.rollback();
}

void Transaction::commit() {
    m_engine.commit();
    m_done = true;
}
