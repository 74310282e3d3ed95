#include "xlsxpackage.h"

#include "spreadsheeterror.h"

#include <QFile>
#include <QXmlStreamReader>
#include <unzip.h>

namespace {

const QByteArray compoundSignature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
constexpr qint64 pieceBytes = 256 * 1024; // of a file searched for a name

QString damaged(const QString &path) {
    return QStringLiteral("文件“%1”已损坏，或不是Excel工作簿（.xlsx），无法读取。").arg(path);
}

// The inflated part as the XML reader pulls it, counted: past the limit it reads as a device
// error, so that the reader stops without any exception passing through it.
class CountedPart : public QIODevice {
public:
    CountedPart(unzFile zip, qint64 limit) : m_zip(zip), m_limit(limit) {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }
    bool atEnd() const override {
        return m_tooLarge || m_failed || (unzeof(m_zip) && QIODevice::bytesAvailable() == 0);
    }
    bool tooLarge() const { return m_tooLarge; }
    bool failed() const { return m_failed; }

protected:
    qint64 readData(char *data, qint64 maxSize) override {
        if (m_tooLarge || m_failed)
            return -1;
        const int got = unzReadCurrentFile(m_zip, data, unsigned(qMin<qint64>(maxSize, 1 << 20)));
        if (got < 0) {
            m_failed = true;
            return -1;
        }
        m_count += got;
        if (m_count > m_limit) {
            m_tooLarge = true;
            return -1;
        }
        return got;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    unzFile m_zip;
    qint64 m_limit;
    qint64 m_count = 0;
    bool m_tooLarge = false;
    bool m_failed = false;
};

} // namespace

CompoundKind compoundKind(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(8) != compoundSignature)
        return CompoundKind::NotCompound;
    // The directory of a compound document names its streams in UTF-16; an encrypted workbook
    // keeps its content in one called EncryptedPackage.
    const QByteArray name = QByteArray("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);
    QByteArray carried;
    while (!file.atEnd()) {
        const QByteArray piece = carried + file.read(pieceBytes);
        if (piece.contains(name))
            return CompoundKind::Encrypted;
        carried = piece.right(name.size());
    }
    return CompoundKind::Workbook;
}

XlsxPackage::XlsxPackage(const QString &path, qint64 maxPartBytes)
    : m_path(path), m_maxPartBytes(maxPartBytes) {
    if (!QFile::exists(path))
        throw SpreadsheetError(QStringLiteral("找不到文件“%1”。").arg(path));
    switch (compoundKind(path)) {
    case CompoundKind::Encrypted:
        throw SpreadsheetError(
            QStringLiteral(
                "工作簿“%1”设有打开密码，无法读取。请在Excel中取消密码后另存为.xlsx再导入。")
                .arg(path));
    case CompoundKind::Workbook:
        throw SpreadsheetError(
            QStringLiteral("文件“%1”是旧版Excel工作簿（.xls），请在Excel中另存为.xlsx再导入。")
                .arg(path));
    case CompoundKind::NotCompound:
        break;
    }
    m_zip = unzOpen64(QFile::encodeName(path).constData());
    if (!m_zip)
        throw SpreadsheetError(damaged(path));
}

XlsxPackage::~XlsxPackage() {
    unzClose(m_zip);
}

// Part names are compared without regard to case, as the spreadsheet programs do.
bool XlsxPackage::contains(const QString &part) const {
    return unzLocateFile(m_zip, part.toUtf8().constData(), 2) == UNZ_OK;
}

void XlsxPackage::parse(const QString &part,
                        const std::function<void(QXmlStreamReader &)> &element) const {
    if (!contains(part))
        throw SpreadsheetError(damaged(m_path) + QStringLiteral("\n（缺少 %1）").arg(part));
    if (unzOpenCurrentFile(m_zip) != UNZ_OK)
        throw SpreadsheetError(damaged(m_path));
    // Closed on every way out; its result is the checksum's verdict, asked for below.
    struct Closer {
        unzFile zip;
        bool closed = false;
        int close() {
            closed = true;
            return unzCloseCurrentFile(zip);
        }
        ~Closer() {
            if (!closed)
                unzCloseCurrentFile(zip);
        }
    } closer{m_zip};
    CountedPart counted(m_zip, m_maxPartBytes);
    QXmlStreamReader xml(&counted);
    while (!xml.atEnd() && !xml.hasError()) {
        xml.readNext();
        if (xml.isStartElement())
            element(xml);
    }
    if (counted.tooLarge())
        throw SpreadsheetError(
            QStringLiteral("工作簿“%1”解压后超过 %2 MB，不予读取（文件可能有害，或数据过多）。")
                .arg(m_path)
                .arg(m_maxPartBytes / (1024 * 1024)));
    if (counted.failed() || xml.hasError())
        throw SpreadsheetError(damaged(m_path) +
                               QStringLiteral("\n（%1：%2）").arg(part, xml.errorString()));
    // The checksum is compared as the part is closed: a damaged part fails here.
    if (closer.close() != UNZ_OK)
        throw SpreadsheetError(damaged(m_path));
}
