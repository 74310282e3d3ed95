#pragma once

#include "messages.h"

#include <QList>

// Answers the program's message boxes instead of a person, and keeps what they said. A
// confirmation takes the next scripted answer; with none left it answers No.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    void answerConfirmations(QList<bool> answers) { m_answers = std::move(answers); }
    const QList<Messages::Shown> &shown() const { return m_shown; }
    QStringList texts() const;
    void clear() { m_shown.clear(); }

private:
    QList<bool> m_answers;
    QList<Messages::Shown> m_shown;
};
