#pragma once

#include <functional>

class QSqlDatabase;
struct sqlite3;

// What long work on the file calls now and then, so that the program can keep its screen
// alive and say what it is doing; it must not touch the connection the work runs on.
using ProgressCallback = std::function<void()>;

// Has the engine call `progress` every few thousand steps of whatever statement runs on the
// connection, for as long as this object lives. An empty callback is never called.
class EngineProgress {
public:
    EngineProgress(const QSqlDatabase &database, ProgressCallback progress);
    ~EngineProgress();
    EngineProgress(const EngineProgress &) = delete;
    EngineProgress &operator=(const EngineProgress &) = delete;

private:
    sqlite3 *m_handle = nullptr;
    ProgressCallback m_progress;
};
