#include "xlsxfixture.h"

#include "currency.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <unzip.h>
#include <xlsxwriter.h>
#include <zip.h>

XlsxFixture::XlsxFixture(const QString &path, bool inlineStrings) {
    lxw_workbook_options options{};
    options.constant_memory = inlineStrings ? LXW_TRUE : LXW_FALSE;
    m_workbook = workbook_new_opt(path.toUtf8().constData(), &options);
}

XlsxFixture::~XlsxFixture() {
    close();
}

lxw_worksheet *XlsxFixture::sheet(const QString &name) {
    return workbook_add_worksheet(m_workbook, name.toUtf8().constData());
}

void XlsxFixture::writeRows(lxw_worksheet *sheet, const QList<QStringList> &rows) {
    for (int row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < rows[row].size(); ++column) {
            const QString &text = rows[row][column];
            if (text.isEmpty())
                continue;
            if (Currency::fromText(text))
                worksheet_write_number(sheet, row, column, text.toDouble(), nullptr);
            else
                worksheet_write_string(sheet, row, column, text.toUtf8().constData(), nullptr);
        }
    }
}

bool XlsxFixture::close() {
    if (!m_workbook)
        return true;
    const lxw_error result = workbook_close(m_workbook);
    m_workbook = nullptr;
    return result == LXW_NO_ERROR;
}

bool writeZip(const QString &path, const ZipParts &parts) {
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    bool written = true;
    for (const auto &[name, content] : parts) {
        zip_fileinfo info{};
        written =
            written &&
            zipOpenNewFileInZip(zip, name.toUtf8().constData(), &info, nullptr, 0, nullptr, 0,
                                nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION) == ZIP_OK &&
            zipWriteInFileInZip(zip, content.constData(), unsigned(content.size())) == ZIP_OK &&
            zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && written;
}

ZipParts readZip(const QString &path) {
    ZipParts parts;
    unzFile zip = unzOpen64(QFile::encodeName(path).constData());
    if (!zip)
        return parts;
    for (int more = unzGoToFirstFile(zip); more == UNZ_OK; more = unzGoToNextFile(zip)) {
        char name[512];
        unzGetCurrentFileInfo64(zip, nullptr, name, sizeof name, nullptr, 0, nullptr, 0);
        QByteArray content;
        unzOpenCurrentFile(zip);
        char buffer[65536];
        for (int got; (got = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0;)
            content.append(buffer, got);
        unzCloseCurrentFile(zip);
        parts.append({QString::fromUtf8(name), content});
    }
    unzClose(zip);
    return parts;
}
bool replacePart(const QString &path, const QString &part, const QByteArray &content) {
    ZipParts parts = readZip(path);
    bool replaced = false;
    for (auto &[name, bytes] : parts) {
        if (name == part) {
            bytes = content;
            replaced = true;
        }
    }
    if (!replaced)
        parts.append({part, content});
    return writeZip(path, parts);
}

namespace {

// Little-endian fields of a record or a header.
class Bytes {
public:
    Bytes &u8(int value) {
        m_bytes.append(char(value));
        return *this;
    }
    Bytes &u16(int value) { return u8(value & 0xff).u8((value >> 8) & 0xff); }
    Bytes &u32(quint32 value) { return u16(int(value & 0xffff)).u16(int(value >> 16)); }
    Bytes &f64(double value) {
        quint64 bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return u32(quint32(bits)).u32(quint32(bits >> 32));
    }
    Bytes &raw(const QByteArray &bytes) {
        m_bytes.append(bytes);
        return *this;
    }
    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

QByteArray record(int type, const QByteArray &data) {
    return Bytes().u16(type).u16(int(data.size())).raw(data).bytes();
}

QByteArray utf16(const QString &text) {
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

QByteArray beginning(int kind) {
    return record(0x0809,
                  Bytes().u16(0x0600).u16(kind).u16(0x0DBB).u16(0x07CC).u32(0).u32(6).bytes());
}

constexpr quint32 endOfChain = 0xFFFFFFFE;
constexpr quint32 freeSector = 0xFFFFFFFF;

QByteArray directoryEntry(const QString &name, int type, quint32 start, quint32 size,
                          quint32 child) {
    QByteArray entryName = name.isEmpty() ? QByteArray() : utf16(name) + QByteArray(2, '\0');
    const int nameSize = int(entryName.size());
    entryName.resize(64, '\0');
    return Bytes()
        .raw(entryName)
        .u16(nameSize)
        .u8(type)
        .u8(1)
        .u32(freeSector)
        .u32(freeSector)
        .u32(child)
        .raw(QByteArray(36, '\0'))
        .u32(start)
        .u32(size)
        .u32(0)
        .bytes();
}

} // namespace

bool writeLegacyWorkbook(const QString &path, const QString &sheet, const QList<QStringList> &rows,
                         bool system1904) {
    QStringList strings;
    QByteArray cells;
    int columns = 0;
    for (int row = 0; row < rows.size(); ++row) {
        columns = std::max(columns, int(rows[row].size()));
        for (int column = 0; column < rows[row].size(); ++column) {
            const QString &text = rows[row][column];
            if (text.isEmpty())
                continue;
            if (Currency::fromText(text)) {
                cells += record(0x0203,
                                Bytes().u16(row).u16(column).u16(15).f64(text.toDouble()).bytes());
            } else {
                if (!strings.contains(text))
                    strings << text;
                cells += record(0x00FD, Bytes()
                                            .u16(row)
                                            .u16(column)
                                            .u16(15)
                                            .u32(quint32(strings.indexOf(text)))
                                            .bytes());
            }
        }
    }
    Bytes shared;
    shared.u32(quint32(strings.size())).u32(quint32(strings.size()));
    for (const QString &text : strings)
        shared.u16(int(text.size())).u8(1).raw(utf16(text));
    // Cell formats: the 16 a workbook always has, none of them a date.
    const QByteArray format = record(0x00E0, Bytes()
                                                 .u16(0)
                                                 .u16(0)
                                                 .u16(0xFFF5)
                                                 .u8(0x20)
                                                 .u8(0)
                                                 .u8(0)
                                                 .u8(0)
                                                 .u32(0)
                                                 .u32(0)
                                                 .u16(0x20C0)
                                                 .bytes());
    auto globals = [&](quint32 sheetAt) {
        return beginning(0x0005) + record(0x0042, Bytes().u16(1200).bytes()) +
               record(0x0022, Bytes().u16(system1904 ? 1 : 0).bytes()) + format.repeated(16) +
               record(0x0085, Bytes()
                                  .u32(sheetAt)
                                  .u8(0)
                                  .u8(0)
                                  .u8(int(sheet.size()))
                                  .u8(1)
                                  .raw(utf16(sheet))
                                  .bytes()) +
               record(0x00FC, shared.bytes()) + record(0x000A, {});
    };
    const QByteArray workbookGlobals = globals(quint32(globals(0).size()));
    const QByteArray stream =
        workbookGlobals + beginning(0x0010) +
        record(0x0200,
               Bytes().u32(0).u32(quint32(rows.size())).u16(0).u16(columns).u16(0).bytes()) +
        cells + record(0x000A, {});
    // Streams under 4096 bytes would live in the mini stream: padding keeps this one out of it.
    QByteArray padded = stream;
    padded.resize(std::max<qsizetype>(4096, (stream.size() + 511) / 512 * 512), '\0');
    const int sectors = int(padded.size() / 512);
    if (sectors > 126)
        return false;
    Bytes fat;
    fat.u32(0xFFFFFFFD).u32(endOfChain);
    for (int sector = 0; sector < sectors; ++sector)
        fat.u32(sector + 1 < sectors ? quint32(sector + 3) : endOfChain);
    for (int entry = 2 + sectors; entry < 128; ++entry)
        fat.u32(freeSector);
    const QByteArray directory =
        directoryEntry("Root Entry", 5, endOfChain, 0, 1) +
        directoryEntry("Workbook", 2, 2, quint32(stream.size()), freeSector) +
        directoryEntry({}, 0, 0, 0, freeSector) + directoryEntry({}, 0, 0, 0, freeSector);
    Bytes header;
    header.raw(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)).raw(QByteArray(16, '\0'));
    header.u16(0x3E).u16(3).u16(0xFFFE).u16(9).u16(6).raw(QByteArray(6, '\0'));
    header.u32(0).u32(1).u32(1).u32(0).u32(4096).u32(endOfChain).u32(0).u32(endOfChain).u32(0);
    header.u32(0);
    for (int entry = 1; entry < 109; ++entry)
        header.u32(freeSector);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(header.bytes() + fat.bytes() + directory + padded) > 0;
}
