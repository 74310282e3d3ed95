#include "declarationtemplate.h"

#include "spreadsheeterror.h"
#include "workbook.h"

namespace {

// A template is its heading row and at most a few lines: far less than this, while a file made
// to exhaust memory is refused long before it does.
SheetLimits templateLimits() {
    SheetLimits limits;
    limits.maxPartBytes = 64LL * 1024 * 1024;
    return limits;
}

[[noreturn]] void refuse(const QString &why) {
    throw TemplateError(why.toStdString());
}

} // namespace

QStringList readTemplateHeadings(const QString &path) {
    QStringList headings;
    try {
        const std::unique_ptr<Workbook> workbook = openWorkbook(path, templateLimits());
        if (workbook->sheets().isEmpty())
            refuse(QStringLiteral("文件中没有工作表，不是个税申报模板。"));
        workbook->readSheet(0, [&headings](const SheetRow &row) {
            if (row.number != 1)
                return;
            for (const SheetCell &cell : row.cells)
                headings << cell.text;
        });
    } catch (const SpreadsheetError &unreadable) {
        refuse(unreadable.text());
    }
    while (!headings.isEmpty() && headings.last().trimmed().isEmpty())
        headings.removeLast();
    if (headings.isEmpty())
        refuse(QStringLiteral("第一张工作表的第一行是空的，没有列标题。"));
    return headings;
}
