#pragma once

#include "data.h"
#include "databasesetup.h"
#include "messages.h"

#include <QDir>
#include <QList>
#include <QTemporaryDir>
#include <memory>

// A fresh working folder for one test: the process works inside it, it holds a GZDB.mdb made
// by the same set-up code users run (or none), and DM is a new data module over it. Message
// boxes are answered from a script and recorded instead of shown.
class Workspace {
public:
    enum class Database { None, Empty, Demo };

    explicit Workspace(Database database = Database::Empty, QDate today = QDate(2026, 12, 10));
    ~Workspace();
    Workspace(const Workspace &) = delete;
    Workspace &operator=(const Workspace &) = delete;

    QString path() const { return m_folder.path(); }
    QString databasePath() const { return m_folder.filePath(QStringLiteral("GZDB.mdb")); }

    // Runs a statement on a connection of its own, bypassing the shared queries.
    void exec(const QString &sql) const;

    // Answers for the next confirmation boxes, in order; with none left, a box answers No.
    void answerConfirmations(QList<bool> answers) { m_answers = std::move(answers); }
    const QList<Messages::Shown> &shownMessages() const { return m_shown; }
    void clearShownMessages() { m_shown.clear(); }

private:
    QTemporaryDir m_folder;
    QString m_previousFolder;
    std::unique_ptr<TDM> m_dataModule;
    QList<bool> m_answers;
    QList<Messages::Shown> m_shown;
};
