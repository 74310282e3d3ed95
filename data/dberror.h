#pragma once

#include <QString>
#include <stdexcept>

// Every failure of the database layer: a statement the engine refused, a file it could not
// open, a parameter or field name the statement does not have. The text is the engine's own.
// The kind tells what the caller can still rely on: after a lost connection the session's
// worksheet and month claims are gone with it; after a timeout the statement did not finish.
class DbError : public std::runtime_error {
public:
    enum class Kind { Refused, ConnectionLost, TimedOut };

    explicit DbError(const QString &message, Kind kind = Kind::Refused)
        : std::runtime_error(message.toStdString()), m_kind(kind)
    {
    }
    QString text() const { return QString::fromUtf8(what()); }
    Kind kind() const { return m_kind; }

private:
    Kind m_kind;
};
