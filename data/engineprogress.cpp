#include "engineprogress.h"

#include "sqlitehandle.h"

#include <sqlite3.h>

namespace {

// Often enough for a screen to repaint many times a second, rare enough to cost nothing.
constexpr int stepsBetweenCalls = 4000;

int callProgress(void *progress) {
    (*static_cast<ProgressCallback *>(progress))();
    return 0; // never interrupts the statement
}

} // namespace

EngineProgress::EngineProgress(const QSqlDatabase &database, ProgressCallback progress)
    : m_progress(std::move(progress)) {
    if (!m_progress)
        return;
    m_handle = sqliteHandle(database);
    sqlite3_progress_handler(m_handle, stepsBetweenCalls, callProgress, &m_progress);
}

EngineProgress::~EngineProgress() {
    if (m_handle)
        sqlite3_progress_handler(m_handle, 0, nullptr, nullptr);
}
