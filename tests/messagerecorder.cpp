#include "messagerecorder.h"

MessageRecorder::MessageRecorder() {
    Messages::setResponder([this](const Messages::Shown &shown) {
        m_shown << shown;
        return shown.kind == Messages::Kind::Confirmation && !m_answers.isEmpty()
                   ? m_answers.takeFirst()
                   : false;
    });
}

MessageRecorder::~MessageRecorder() {
    Messages::setResponder({});
}

QStringList MessageRecorder::texts() const {
    QStringList texts;
    for (const Messages::Shown &shown : m_shown)
        texts << shown.text;
    return texts;
}
