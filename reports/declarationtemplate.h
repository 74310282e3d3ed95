#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>

// The tax client's own declaration workbook could not be read; the text says why in Chinese.
class TemplateError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The headings in the first row of the first sheet of the .xlsx at `path`, one per column from
// A to the last heading; a column without one reads as empty. Only the parts of the package the
// row needs are read, so a large or hostile workbook costs no more than its first row.
QStringList readTemplateHeadings(const QString &path);
