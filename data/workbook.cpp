#include "workbook.h"

#include "xlsworkbook.h"
#include "xlsxpackage.h"
#include "xlsxworkbook.h"

int sheetColumnIndex(QStringView letters) {
    if (letters.isEmpty() || letters.size() > 3)
        return -1;
    int index = 0;
    for (const QChar c : letters) {
        const char16_t upper = c.toUpper().unicode();
        if (upper < u'A' || upper > u'Z')
            return -1;
        index = index * 26 + (upper - u'A' + 1);
    }
    return index <= sheetColumns ? index - 1 : -1;
}

QString sheetColumnName(int index) {
    QString name;
    for (++index; index > 0; index = (index - 1) / 26)
        name.prepend(QChar(u'A' + (index - 1) % 26));
    return name;
}

std::unique_ptr<Workbook> openWorkbook(const QString &path, SheetLimits limits) {
    if (compoundKind(path) == CompoundKind::Workbook)
        return std::make_unique<XlsWorkbook>(path, limits);
    return std::make_unique<XlsxWorkbook>(path, limits);
}
