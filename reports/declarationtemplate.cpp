#include "declarationtemplate.h"

#include <QFile>
#include <QIODevice>
#include <QXmlStreamReader>
#include <algorithm>
#include <climits>
#include <map>
#include <memory>
#include <set>
#include <unzip.h>

namespace {

// More headings than any declaration has means this is not one.
constexpr int mostColumns = 256;
// What one part may inflate to before the reading gives up: a template's first row and the
// strings before it take a fraction of this, a file made to exhaust memory far more.
constexpr qint64 mostInflated = 64 * 1024 * 1024;

[[noreturn]] void refuse(const QString &why) {
    throw TemplateError(why.toStdString());
}

// The zip library the spreadsheet writer itself links: a second one in the process (a Qt
// wrapper that brings its own copy of the same functions) would take the writer's calls.
using Package = std::unique_ptr<void, int (*)(unzFile)>;

// One part of the package, inflated as it is read.
class Part : public QIODevice {
public:
    Part(unzFile zip, const QString &name) : m_zip(zip) {
        if (unzLocateFile(m_zip, name.toUtf8().constData(), 1) != UNZ_OK)
            refuse(QStringLiteral("文件中缺少%1，不是有效的Excel工作簿。").arg(name));
        if (unzOpenCurrentFile(m_zip) != UNZ_OK)
            refuse(QStringLiteral("无法读取文件中的%1。").arg(name));
        open(QIODevice::ReadOnly);
    }
    ~Part() override { unzCloseCurrentFile(m_zip); }
    bool isSequential() const override { return true; }

    // Whether the part was damaged or inflated beyond what a declaration's first row needs.
    // The XML reader only sees the data end; an exception must not pass through it.
    bool failed() const { return m_failed; }

protected:
    qint64 readData(char *data, qint64 most) override {
        const int read = unzReadCurrentFile(m_zip, data, unsigned(std::min<qint64>(most, INT_MAX)));
        m_inflated += std::max(read, 0);
        m_failed = m_failed || read < 0 || m_inflated > mostInflated;
        return m_failed ? -1 : read;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    unzFile m_zip;
    qint64 m_inflated = 0;
    bool m_failed = false;
};

// Reads one part of the package with `read`, which stops when it has what it needs.
template <typename Read> void readPart(unzFile zip, const QString &name, Read read) {
    Part part(zip, name);
    QXmlStreamReader xml(&part);
    read(xml);
    if (part.failed())
        refuse(QStringLiteral("文件中的%1已损坏或过大，不是个税申报模板。").arg(name));
    if (xml.hasError() && xml.error() != QXmlStreamReader::PrematureEndOfDocumentError)
        refuse(QStringLiteral("文件中的%1格式不正确：%2").arg(name, xml.errorString()));
}

// "xl/worksheets/sheet1.xml": the part of the workbook's first sheet.
QString firstSheetPart(unzFile zip) {
    QString relation;
    readPart(zip, QStringLiteral("xl/workbook.xml"), [&](QXmlStreamReader &xml) {
        while (relation.isEmpty() && !xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"sheet")
                for (const QXmlStreamAttribute &attribute : xml.attributes())
                    if (attribute.name() == u"id")
                        relation = attribute.value().toString();
    });
    if (relation.isEmpty())
        refuse(QStringLiteral("工作簿中没有工作表。"));
    QString target;
    readPart(zip, QStringLiteral("xl/_rels/workbook.xml.rels"), [&](QXmlStreamReader &xml) {
        while (target.isEmpty() && !xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement &&
                xml.attributes().value(QStringLiteral("Id")) == relation)
                target = xml.attributes().value(QStringLiteral("Target")).toString();
    });
    if (target.isEmpty())
        refuse(QStringLiteral("工作簿中找不到第一张工作表。"));
    return target.startsWith(u'/') ? target.mid(1) : QStringLiteral("xl/") + target;
}

// "C1" is column 2.
int columnOf(QStringView reference) {
    int column = 0;
    for (const QChar c : reference) {
        if (c < u'A' || c > u'Z')
            break;
        column = column * 26 + (c.unicode() - u'A' + 1);
        if (column > mostColumns)
            refuse(QStringLiteral("第一行的列数太多，不是个税申报表。"));
    }
    return column - 1;
}

// The text of an element holding <t> runs (an inline string or a shared string), the reader
// left at its end.
QString runsOf(QXmlStreamReader &xml) {
    QString text;
    const QString element = xml.name().toString();
    while (!xml.atEnd() &&
           !(xml.readNext() == QXmlStreamReader::EndElement && xml.name() == element))
        if (xml.isStartElement() && xml.name() == u"t")
            text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
    return text;
}

struct Cell {
    QString type; // "s" shared string, "inlineStr", "str", none: a number
    QString value;
};

// The cells of the sheet's first row, by column.
std::map<int, Cell> firstRow(unzFile zip, const QString &sheet) {
    std::map<int, Cell> cells;
    readPart(zip, sheet, [&](QXmlStreamReader &xml) {
        bool inRow = false;
        int column = -1;
        while (!xml.atEnd()) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            if (token == QXmlStreamReader::EndElement && xml.name() == u"row")
                return;
            if (token != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"row") {
                // A sheet leaves out the rows it has nothing in: the first one written may be
                // a later row.
                const QStringView number = xml.attributes().value(QStringLiteral("r"));
                if (!number.isEmpty() && number != u"1")
                    return;
                inRow = true;
                column = -1;
            } else if (inRow && xml.name() == u"c") {
                const QXmlStreamAttributes attributes = xml.attributes();
                const QStringView reference = attributes.value(QStringLiteral("r"));
                column = reference.isEmpty() ? column + 1 : columnOf(reference);
                if (column >= mostColumns)
                    refuse(QStringLiteral("第一行的列数太多，不是个税申报表。"));
                cells[column].type = attributes.value(QStringLiteral("t")).toString();
            } else if (inRow && xml.name() == u"v") {
                cells[column].value = xml.readElementText();
            } else if (inRow && xml.name() == u"is") {
                cells[column].value = runsOf(xml);
            }
        }
    });
    return cells;
}

// The shared strings of the given indexes; reading stops after the highest.
std::map<int, QString> sharedStrings(unzFile zip, const std::set<int> &wanted) {
    std::map<int, QString> strings;
    if (wanted.empty())
        return strings;
    const int last = *wanted.rbegin();
    readPart(zip, QStringLiteral("xl/sharedStrings.xml"), [&](QXmlStreamReader &xml) {
        int index = -1;
        while (index < last && !xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"si") {
                ++index;
                const QString text = runsOf(xml);
                if (wanted.count(index))
                    strings[index] = text;
            }
    });
    return strings;
}

} // namespace

QStringList readTemplateHeadings(const QString &path) {
    const Package package(unzOpen64(QFile::encodeName(path).constData()), unzClose);
    if (!package)
        refuse(QStringLiteral("无法打开文件，它不是Excel工作簿（.xlsx）。"));
    unzFile zip = package.get();
    const std::map<int, Cell> cells = firstRow(zip, firstSheetPart(zip));
    std::set<int> shared;
    for (const auto &[column, cell] : cells)
        if (cell.type == u"s") {
            bool number = false;
            const int index = cell.value.toInt(&number);
            if (!number || index < 0)
                refuse(QStringLiteral("第一行的单元格内容无法读取。"));
            shared.insert(index);
        }
    const std::map<int, QString> strings = sharedStrings(zip, shared);
    QStringList headings;
    for (const auto &[column, cell] : cells) {
        while (headings.size() <= column)
            headings << QString();
        if (cell.type == u"s") {
            const auto found = strings.find(cell.value.toInt());
            headings[column] = found == strings.end() ? QString() : found->second;
        } else {
            headings[column] = cell.value;
        }
    }
    while (!headings.isEmpty() && headings.last().trimmed().isEmpty())
        headings.removeLast();
    if (headings.isEmpty())
        refuse(QStringLiteral("第一张工作表的第一行是空的，没有列标题。"));
    return headings;
}
