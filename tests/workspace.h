#pragma once

#include "data.h"
#include "databasesetup.h"
#include "messagerecorder.h"

#include <QDir>
#include <QList>
#include <QTemporaryDir>
#include <memory>

// A fresh working folder for one test: the process works inside it, it holds a GZDB.mdb made
// by the same set-up code users run (or none), and DM is a new data module over it. In a
// server test the database is instead this process's own on the test server, set up the same
// way, and the program is configured for it as an office's clerk would be. Message boxes are
// answered from a script and recorded instead of shown.
class Workspace {
public:
    enum class Database { None, Empty, Demo };

    explicit Workspace(Database database = Database::Empty, QDate today = QDate(2026, 12, 10));
    ~Workspace();
    Workspace(const Workspace &) = delete;
    Workspace &operator=(const Workspace &) = delete;

    QString path() const { return m_folder.path(); }
    QString databasePath() const { return m_folder.filePath(QStringLiteral("GZDB.mdb")); }
    // The database the program works on: the file, or the server database.
    const DatabaseAddress &address() const { return m_address; }

    // Runs a statement on a connection of its own, bypassing the shared queries.
    void exec(const QString &sql) const;
    // Turns the file into one of the first layout, as earlier programs left it: without the
    // later tables, without the program's mark.
    void makeFirstLayout() const;
    // Has the engine refuse inserts into `table` with `message`, as a full disk or a broken
    // server would: every insert, or those whose new row meets `condition` ("new.ygh=5").
    // Set on the program's own connection, so that its worksheet is refused too.
    void refuseInserts(const QString &table, const QString &message,
                       const QString &condition = QString()) const;
    void stopRefusingInserts(const QString &table) const;

    // Answers for the next confirmation boxes, in order; with none left, a box answers No.
    void answerConfirmations(QList<bool> answers) { m_messages.answerConfirmations(answers); }
    const QList<Messages::Shown> &shownMessages() const { return m_messages.shown(); }
    QStringList shownTexts() const { return m_messages.texts(); }
    void clearShownMessages() { m_messages.clear(); }

private:
    QTemporaryDir m_folder;
    QString m_previousFolder;
    DatabaseAddress m_address;
    std::unique_ptr<TDM> m_dataModule;
    MessageRecorder m_messages;
};

// What the clerk reads of a statement the engine refused with `words`: the words alone from
// the file, below the server's Chinese sentence from a server.
QString engineRefusal(const QString &words);

// Runs a statement given as the lines a window would add, on one of the shared queries.
void openLines(Query &query, const QStringList &lines);
