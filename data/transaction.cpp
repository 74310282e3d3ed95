#include "transaction.h"

#include "dberror.h"

#include <QSqlError>

Transaction::Transaction(Connection &connection) : m_database(connection.database()) {
    if (!m_database.transaction())
        throw DbError(m_database.lastError().databaseText());
}

Transaction::~Transaction() {
    if (!m_done)
        m_database.rollback();
}

void Transaction::commit() {
    if (!m_database.commit())
        throw DbError(m_database.lastError().databaseText());
    m_done = true;
}
