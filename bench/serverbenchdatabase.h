#pragma once

#include "databaseaddress.h"

#include <QString>

// A database of the benchmark's own on a PostgreSQL server, made empty when the benchmark
// starts and dropped when it ends. `administration` is a libpq connection string for a
// superuser (its database is only used to create and drop this one).
class ServerBenchDatabase {
public:
    explicit ServerBenchDatabase(QString administration);
    ~ServerBenchDatabase();
    ServerBenchDatabase(const ServerBenchDatabase &) = delete;
    ServerBenchDatabase &operator=(const ServerBenchDatabase &) = delete;

    const DatabaseAddress &address() const { return m_address; }

private:
    void runAsAdministrator(const QString &sql) const;

    QString m_administration;
    QString m_name;
    DatabaseAddress m_address;
};
