#include "xlsxfixture.h"

#include "currency.h"

#include <QFile>
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
