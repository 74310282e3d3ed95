#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

struct lxw_workbook;
struct lxw_worksheet;

// A small workbook written for a test through libxlsxwriter, as a spreadsheet program would
// write it: shared strings, numbers, formulas with their values, merged and hidden sheets.
// With `inlineStrings` the strings go into the cells themselves, as streaming writers do.
class XlsxFixture {
public:
    explicit XlsxFixture(const QString &path, bool inlineStrings = false);
    ~XlsxFixture(); // closes the workbook, if close() was not called
    XlsxFixture(const XlsxFixture &) = delete;
    XlsxFixture &operator=(const XlsxFixture &) = delete;

    lxw_worksheet *sheet(const QString &name);
    // Writes each row of `rows`, from the first row down; a cell that reads as a plain decimal
    // ("12.5") is written as a number, any other as a string, an empty one not at all.
    void writeRows(lxw_worksheet *sheet, const QList<QStringList> &rows);
    // Writes the file; false when libxlsxwriter failed.
    bool close();

private:
    lxw_workbook *m_workbook = nullptr;
};

// A legacy .xls workbook of one sheet, written by hand (the format is a BIFF8 stream in a
// compound document): texts as shared strings, plain decimals as numbers.
bool writeLegacyWorkbook(const QString &path, const QString &sheet, const QList<QStringList> &rows,
                         bool system1904 = false);

// A zip of the given parts (name, content), written by hand: the hostile files no spreadsheet
// program writes.
using ZipParts = QList<QPair<QString, QByteArray>>;
bool writeZip(const QString &path, const ZipParts &parts);
// The parts of the zip at `path`, read back.
ZipParts readZip(const QString &path);
// Rewrites the zip at `path` with `part` replaced by `content` (or added).
bool replacePart(const QString &path, const QString &part, const QByteArray &content);
