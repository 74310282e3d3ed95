#pragma once

#include <QString>
#include <functional>

class QXmlStreamReader;

// The zip container of an .xlsx workbook, read part by part. A part is inflated as its XML is
// parsed, and reading stops with a SpreadsheetError once more than `maxPartBytes` have come
// out of it: a small file that inflates without end (a zip bomb) never
// fills the memory. A file that is no zip is refused with the reason the clerk can act on: an
// encrypted workbook (the spreadsheet program stores those as a compound document), a legacy
// .xls under another name, or a damaged file.
class XlsxPackage {
public:
    XlsxPackage(const QString &path, qint64 maxPartBytes);
    ~XlsxPackage();
    XlsxPackage(const XlsxPackage &) = delete;
    XlsxPackage &operator=(const XlsxPackage &) = delete;

    bool contains(const QString &part) const;
    // Parses `part` as it inflates, handing the reader standing on each start element to
    // `element`, which may read on inside it. Throws SpreadsheetError when the part is
    // missing, damaged, no well-formed XML or too large; `element` may throw too.
    void parse(const QString &part, const std::function<void(QXmlStreamReader &)> &element) const;

private:
    QString m_path;
    qint64 m_maxPartBytes;
    void *m_zip = nullptr; // minizip's unzFile
};

// Whether the file begins as a compound document (the container of legacy .xls files and of
// encrypted workbooks), and whether it holds an encrypted package.
enum class CompoundKind { NotCompound, Workbook, Encrypted };
CompoundKind compoundKind(const QString &path);
