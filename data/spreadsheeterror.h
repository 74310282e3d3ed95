#pragma once

#include <QString>
#include <stdexcept>

// A workbook the program cannot or will not read: damaged, encrypted, too large, or not a
// workbook at all. The message is the clerk's, in Chinese; nothing has been written.
class SpreadsheetError : public std::runtime_error {
public:
    explicit SpreadsheetError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString text() const { return QString::fromUtf8(what()); }
};
