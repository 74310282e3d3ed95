#pragma once

#include <QString>
#include <stdexcept>

// Every failure of the database layer: a statement the engine refused, a file it could not
// open, a parameter or field name the statement does not have. The text is the engine's own.
class DbError : public std::runtime_error {
public:
    explicit DbError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString text() const { return QString::fromUtf8(what()); }
};
