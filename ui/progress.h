#pragma once

#include <QElapsedTimer>
#include <QString>
#include <memory>

class QProgressDialog;
class QWidget;

// The operator stopped a long action from its progress dialog. Not a failure: handlers run
// through guarded() end quietly, and whatever the action was making is dropped.
class OperationCancelled {};

// The progress of one long action over a counted amount of work ("正在生成报表… 120/3530").
// The busy cursor shows at once; a modal dialog with a cancel button over `parent` follows
// when the work lasts more than about a second. While it lives, the program keeps answering
// the screen between steps.
class Progress {
public:
    Progress(QWidget *parent, const QString &text, int total = 0);
    ~Progress();
    Progress(const Progress &) = delete;
    Progress &operator=(const Progress &) = delete;

    // For work that counts its total only once it has begun.
    void setTotal(int total);

    // `done` of the total are done. The first step and then a few a second let the screen
    // (and the cancel button) be served; throws OperationCancelled once the operator cancelled.
    void step(int done);

private:
    void update(int done);

    QString m_text;
    int m_total;
    std::unique_ptr<QProgressDialog> m_dialog;
    QElapsedTimer m_clock;
    qint64 m_lastUpdate = -1;
};
