#pragma once

#include <QElapsedTimer>
#include <QString>
#include <chrono>
#include <memory>

class QProgressDialog;
class QWidget;

// The operator stopped a long action from its progress dialog. Not a failure: handlers run
// through guarded() end quietly, and whatever the action was making is dropped.
class OperationCancelled {};

// Tells the clerk what long work the program is doing and keeps the screen alive meanwhile:
// a report laid out row by row ("正在生成报表… 120/3530"), a month prepared statement by
// statement, the compaction at start-up. The busy cursor shows at once; a small window in the
// module windows' frame, with the work's name as its title, the text and a bar, follows once
// the work has lasted a while, so that quick work flashes nothing. Work without a count (yet)
// shows a bar that only says it goes on. The window leaves with the object.
class Progress {
public:
    // Work over the window `parent` that the operator may cancel; `total` 0 while unknown.
    Progress(QWidget *parent, const QString &text, int total = 0);
    // Work that nothing may interrupt, before any window is up: no cancel button, and the
    // clerk's clicks and keys wait until it is over.
    Progress(const QString &text, std::chrono::milliseconds showAfter);
    ~Progress();
    Progress(const Progress &) = delete;
    Progress &operator=(const Progress &) = delete;

    // For work that counts its total only once it has begun.
    void setTotal(int total);

    // `done` of the total are done. The first call and then a few a second let the screen
    // (and the cancel button) be served; throws OperationCancelled once the operator cancelled.
    void step(int done);
    // The work goes on, counted or not: the same, without a new count.
    void pulse();

private:
    enum class Stop { ByOperator, Never };
    Progress(QWidget *parent, const QString &text, int total, Stop stop,
             std::chrono::milliseconds showAfter);
    bool due() const;
    void serveScreen();

    QString m_text;
    int m_total;
    Stop m_stop;
    std::unique_ptr<QProgressDialog> m_dialog;
    QElapsedTimer m_clock;
    qint64 m_lastServed = -1;
};
