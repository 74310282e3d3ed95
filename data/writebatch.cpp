#include "writebatch.h"

#include "connection.h"
#include "engine.h"

WriteBatch::WriteBatch(Connection &connection) : m_engine(connection.engine()) {
    m_engine.beginBatch();
}

WriteBatch::~WriteBatch() {
    if (!m_finished)
        m_engine.endBatch(true);
}

void WriteBatch::finish() {
    m_finished = true;
    m_engine.endBatch(false);
}
