#include "xlsxworkbook.h"

#include "spreadsheeterror.h"
#include "xlsxpackage.h"

#include <QHash>
#include <QXmlStreamReader>

namespace {

const QString workbookPart = QStringLiteral("xl/workbook.xml");
const QString workbookRelations = QStringLiteral("xl/_rels/workbook.xml.rels");

QString damagedPart(const QString &path, const QString &part, const QString &detail) {
    return QStringLiteral("工作簿“%1”已损坏，无法读取。\n（%2：%3）").arg(path, part, detail);
}

// The text of a string item or inline string: its <t> and its runs' <t>, without the
// phonetic guides (<rPh>). The reader stands on the item's start and ends on its end.
QString stringItem(QXmlStreamReader &xml) {
    QString text;
    const QStringView item = xml.name();
    const QString end = item.toString();
    int phonetic = 0;
    while (!xml.atEnd() && !xml.hasError()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == u"rPh")
                ++phonetic;
            else if (xml.name() == u"t" && phonetic == 0)
                text += xml.readElementText();
        } else if (xml.isEndElement()) {
            if (xml.name() == u"rPh")
                --phonetic;
            else if (xml.name() == end)
                break;
        }
    }
    return text;
}

// "B12" → column 1, row 12.
bool cellAddress(QStringView reference, int &column, int &row) {
    qsizetype letters = 0;
    while (letters < reference.size() && reference[letters].isLetter())
        ++letters;
    column = sheetColumnIndex(reference.left(letters));
    bool ok = false;
    row = reference.mid(letters).toInt(&ok);
    return column >= 0 && ok && row > 0;
}

} // namespace

XlsxWorkbook::XlsxWorkbook(const QString &path, SheetLimits limits)
    : m_path(path), m_limits(limits),
      m_package(std::make_unique<XlsxPackage>(path, limits.maxPartBytes)) {
    if (!m_package->contains(workbookPart))
        throw SpreadsheetError(
            QStringLiteral("文件“%1”不是Excel工作簿（.xlsx），无法读取。").arg(path));
    readSharedStrings(readWorkbook());
}

XlsxWorkbook::~XlsxWorkbook() = default;

QString XlsxWorkbook::readWorkbook() {
    QHash<QString, QString> targets; // relation id → part
    QString sharedStrings;
    m_package->parse(workbookRelations, [&](QXmlStreamReader &xml) {
        if (xml.name() != u"Relationship")
            return;
        const auto attributes = xml.attributes();
        QString target = attributes.value("Target").toString();
        target = target.startsWith(u'/') ? target.mid(1) : QStringLiteral("xl/") + target;
        targets.insert(attributes.value("Id").toString(), target);
        if (attributes.value("Type").endsWith(u"/sharedStrings"))
            sharedStrings = target;
    });
    m_package->parse(workbookPart, [&](QXmlStreamReader &xml) {
        const auto attributes = xml.attributes();
        if (xml.name() == u"workbookPr") {
            const QStringView date1904 = attributes.value("date1904");
            m_1904 = date1904 == u"1" || date1904 == u"true";
        } else if (xml.name() == u"sheet") {
            QString relation;
            for (const QXmlStreamAttribute &attribute : attributes)
                if (attribute.name() == u"id")
                    relation = attribute.value().toString();
            const QStringView state = attributes.value("state");
            m_sheets.append({attributes.value("name").toString(),
                             state == u"hidden" || state == u"veryHidden"});
            m_parts << targets.value(relation);
        }
    });
    if (m_sheets.isEmpty())
        throw SpreadsheetError(QStringLiteral("工作簿“%1”中没有工作表。").arg(m_path));
    return sharedStrings;
}

void XlsxWorkbook::readSharedStrings(const QString &part) {
    if (part.isEmpty() || !m_package->contains(part))
        return;
    m_package->parse(part, [&](QXmlStreamReader &xml) {
        if (xml.name() == u"si")
            m_shared << stringItem(xml);
    });
}

QList<MergedArea> XlsxWorkbook::readSheet(qsizetype index,
                                          const std::function<void(const SheetRow &)> &row) const {
    const Sheet &sheet = m_sheets.at(index);
    const QString &part = m_parts.at(index);
    if (part.isEmpty() || !m_package->contains(part))
        throw SpreadsheetError(
            damagedPart(m_path, sheet.name, QStringLiteral("找不到该工作表的内容")));
    QList<MergedArea> merged;
    SheetRow current;
    int rows = 0;
    auto finishRow = [&] {
        if (current.number > 0 && !current.cells.isEmpty())
            row(current);
        current = {};
    };
    m_package->parse(part, [&](QXmlStreamReader &xml) {
        const QStringView element = xml.name();
        if (element != u"row" && element != u"c" && element != u"mergeCell")
            return;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (element == u"row") {
            const int previous = current.number;
            finishRow();
            if (++rows > m_limits.maxRows)
                throw SpreadsheetError(
                    QStringLiteral("工作表“%1”超过 %2 行，不予导入。请把数据分成几个较小的文件。")
                        .arg(sheet.name)
                        .arg(m_limits.maxRows));
            bool ok = false;
            current.number = attributes.value("r").toInt(&ok);
            if (!ok)
                current.number = previous + 1;
        } else if (element == u"c") {
            int column = int(current.cells.size());
            int rowNumber = current.number;
            if (attributes.hasAttribute("r") &&
                !cellAddress(attributes.value("r"), column, rowNumber))
                throw SpreadsheetError(
                    damagedPart(m_path, sheet.name,
                                QStringLiteral("单元格地址“%1”无效").arg(attributes.value("r"))));
            // Cells without an address follow the one before; past the last column there is
            // no cell a spreadsheet program could have written.
            if (column >= sheetColumns)
                throw SpreadsheetError(damagedPart(m_path, sheet.name,
                                                   QStringLiteral("第 %1 行的单元格超过 %2 列")
                                                       .arg(current.number)
                                                       .arg(sheetColumns)));
            const QStringView type = attributes.value("t");
            SheetCell cell;
            QString value;
            bool hasValue = false;
            while (!xml.atEnd() && !xml.hasError()) {
                xml.readNext();
                if (xml.isStartElement()) {
                    if (xml.name() == u"v") {
                        value = xml.readElementText();
                        hasValue = true;
                    } else if (xml.name() == u"is") {
                        value = stringItem(xml);
                        hasValue = true;
                    }
                } else if (xml.isEndElement() && xml.name() == u"c") {
                    break;
                }
            }
            if (!hasValue)
                return;
            if (type == u"s") {
                bool ok = false;
                const int shared = value.toInt(&ok);
                if (!ok || shared < 0 || shared >= m_shared.size())
                    throw SpreadsheetError(
                        damagedPart(m_path, sheet.name, QStringLiteral("共享字符串编号无效")));
                cell = {SheetCell::Kind::Text, m_shared.at(shared)};
            } else if (type == u"str" || type == u"inlineStr") {
                cell = {SheetCell::Kind::Text, value};
            } else if (type == u"b") {
                cell = {SheetCell::Kind::Boolean, value};
            } else if (type == u"e") {
                cell = {SheetCell::Kind::Error, value};
            } else {
                cell = {SheetCell::Kind::Number, value.trimmed()};
            }
            if (current.cells.size() <= column) {
                if (current.cells.capacity() <= column)
                    current.cells.reserve(qMax(16, 2 * (column + 1)));
                current.cells.resize(column + 1);
            }
            current.cells[column] = cell;
        } else {
            MergedArea area;
            area.reference = attributes.value("ref").toString();
            const QStringList corners = area.reference.split(u':');
            if (corners.size() == 2 && cellAddress(corners[0], area.firstColumn, area.firstRow) &&
                cellAddress(corners[1], area.lastColumn, area.lastRow)) {
                ++area.firstColumn;
                ++area.lastColumn;
                merged << area;
            }
        }
    });
    finishRow();
    return merged;
}
