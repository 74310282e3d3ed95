#include "importsheet.h"

#include "spreadsheeterror.h"

namespace {

// How far down a header row is looked for.
constexpr int headerSearchRows = 20;

int knownCount(const SheetRow &row, const QStringList &knownHeaders) {
    int known = 0;
    for (const SheetCell &cell : row.cells)
        if (knownHeaders.contains(cell.text.trimmed()))
            ++known;
    return known;
}

} // namespace

ImportSheet readImportSheet(const Workbook &book, qsizetype index,
                            const QStringList &knownHeaders, const std::function<void()> &pulse) {
    const Workbook::Sheet &sheet = book.sheets().at(index);
    if (sheet.hidden)
        throw SpreadsheetError(
            QStringLiteral("工作表“%1”是隐藏的。请在Excel中取消隐藏、核对后再导入。")
                .arg(sheet.name));
    QList<SheetRow> rows;
    const QList<MergedArea> merged = book.readSheet(index, [&](const SheetRow &row) {
        rows << row;
        if (rows.size() % 1000 == 0)
            pulse();
    });

    ImportSheet read;
    read.uses1904 = book.uses1904();
    qsizetype header = 0;
    int best = 0;
    for (qsizetype at = 0; at < rows.size() && at < headerSearchRows; ++at) {
        const int known = knownCount(rows[at], knownHeaders);
        if (known > best) {
            best = known;
            header = at;
        }
    }
    if (rows.isEmpty())
        return read;
    read.headerRow = rows[header].number;
    for (const SheetCell &cell : rows[header].cells)
        read.headers << cell.text.trimmed();
    read.rows = rows.mid(header + 1);
    for (const MergedArea &area : merged)
        if (area.lastRow > read.headerRow)
            read.mergedBelowHeader << area;
    return read;
}

QString cellText(const SheetCell &cell) {
    if (cell.kind == SheetCell::Kind::Number) {
        if (const auto number = SheetNumber::parse(cell.text))
            if (const auto whole = number->wholeText())
                return *whole;
        return cell.text;
    }
    return cell.text.trimmed();
}

QString rowPlace(int row) {
    return QStringLiteral("第 %1 行").arg(row);
}

QString cellPlace(int row, const QString &header) {
    return QStringLiteral("第 %1 行“%2”列").arg(row).arg(header);
}

std::optional<QString> documentText(const SheetCell &cell, const QString &place,
                                    QStringList &problems) {
    if (cell.kind == SheetCell::Kind::Number) {
        problems << QStringLiteral(
                        "%1的证件号码被Excel存成了数字，末几位已丢失。请把该列设为文本格式，"
                        "重新输入证件号码后再导入。")
                        .arg(place);
        return std::nullopt;
    }
    return cellText(cell).toUpper();
}
