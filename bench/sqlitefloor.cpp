#include "sqlitefloor.h"

#include <sqlite3.h>
#include <stdexcept>

SqliteFloor::~SqliteFloor() {
    for (const auto &[sql, statement] : m_statements)
        sqlite3_finalize(statement);
}

void SqliteFloor::fail() const {
    throw std::runtime_error(std::string("floor: ") + sqlite3_errmsg(m_db));
}

sqlite3_stmt *SqliteFloor::statement(const QString &sql) {
    const std::string text = sql.toStdString();
    auto found = m_statements.find(text);
    if (found == m_statements.end()) {
        sqlite3_stmt *prepared = nullptr;
        if (sqlite3_prepare_v2(m_db, text.c_str(), int(text.size()), &prepared, nullptr) !=
            SQLITE_OK)
            fail();
        found = m_statements.emplace(text, prepared).first;
    }
    sqlite3_reset(found->second);
    sqlite3_clear_bindings(found->second);
    return found->second;
}

void SqliteFloor::bind(sqlite3_stmt *statement, const QVariantList &values) {
    for (int i = 0; i < values.size(); ++i) {
        const QVariant &value = values.at(i);
        int status = SQLITE_OK;
        if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int) {
            status = sqlite3_bind_int64(statement, i + 1, value.toLongLong());
        } else if (value.typeId() == QMetaType::Double) {
            status = sqlite3_bind_double(statement, i + 1, value.toDouble());
        } else {
            const QByteArray text = value.toString().toUtf8();
            status = sqlite3_bind_text(statement, i + 1, text.constData(), int(text.size()),
                                       SQLITE_TRANSIENT);
        }
        if (status != SQLITE_OK)
            fail();
    }
}

int SqliteFloor::run(sqlite3_stmt *statement) {
    const int columns = sqlite3_column_count(statement);
    int rows = 0;
    int status;
    while ((status = sqlite3_step(statement)) == SQLITE_ROW) {
        // Every value is fetched as what it is, as a data layer must.
        for (int column = 0; column < columns; ++column) {
            switch (sqlite3_column_type(statement, column)) {
            case SQLITE_INTEGER:
                sqlite3_column_int64(statement, column);
                break;
            case SQLITE_FLOAT:
                sqlite3_column_double(statement, column);
                break;
            case SQLITE_NULL:
                break;
            default:
                sqlite3_column_text(statement, column);
                sqlite3_column_bytes(statement, column);
            }
        }
        ++rows;
    }
    if (status != SQLITE_DONE)
        fail();
    sqlite3_reset(statement);
    return rows;
}

int SqliteFloor::run(const QString &sql, const QVariantList &values) {
    sqlite3_stmt *prepared = statement(sql);
    bind(prepared, values);
    return run(prepared);
}
