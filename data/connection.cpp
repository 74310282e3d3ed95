#include "connection.h"

#include "dberror.h"
#include "postgresengine.h"
#include "sqliteengine.h"

Connection::Connection() : Connection(DatabaseAddress::configured()) {}

Connection::Connection(DatabaseAddress address) : m_address(std::move(address)) {}

Connection::Connection(const QString &fileName) : Connection(DatabaseAddress::file(fileName)) {}

Connection::~Connection() = default;

bool Connection::isConnected() const {
    return m_engine != nullptr;
}

Engine &Connection::engine() {
    if (!m_engine) {
        if (m_address.isServer())
            m_engine = std::make_unique<PostgresEngine>(m_address, m_upgradesOlderLayout);
        else
            m_engine = std::make_unique<SqliteEngine>(m_address.location(), m_upgradesOlderLayout);
    }
    return *m_engine;
}

bool Connection::sessionEnded() const {
    const auto *server = dynamic_cast<const PostgresEngine *>(m_engine.get());
    return server && !server->isConnected();
}

QSqlDatabase Connection::database() {
    auto *file = dynamic_cast<SqliteEngine *>(&engine());
    if (!file)
        throw DbError(
            QStringLiteral("%1 是数据库服务器，不是数据库文件。").arg(m_address.shownName()));
    return file->database();
}

MonthClaim &Connection::monthClaim() {
    return engine().monthClaim();
}
