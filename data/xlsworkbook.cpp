#include "xlsworkbook.h"

#include "spreadsheeterror.h"

#include <QFile>
#include <QFileInfo>
#include <freexl.h>

namespace {

QString damaged(const QString &path) {
    return QStringLiteral("旧版Excel工作簿“%1”已损坏，无法读取。请在Excel中另存为.xlsx再导入。")
        .arg(path);
}

SheetCell cellOf(const FreeXL_CellValue &value) {
    switch (value.type) {
    case FREEXL_CELL_INT:
        return {SheetCell::Kind::Number, QString::number(value.value.int_value)};
    case FREEXL_CELL_DOUBLE:
        return {SheetCell::Kind::Number, QString::number(value.value.double_value, 'g', 15)};
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
        return {SheetCell::Kind::Text, QString::fromUtf8(value.value.text_value)};
    default:
        return {};
    }
}

} // namespace

XlsWorkbook::XlsWorkbook(const QString &path, SheetLimits limits) : m_path(path), m_limits(limits) {
    try {
        open();
    } catch (const SpreadsheetError &) {
        freexl_close(m_handle); // the handle is to be closed even when opening failed
        throw;
    }
}

void XlsWorkbook::open() {
    const QString &path = m_path;
    const SheetLimits &limits = m_limits;
    if (QFileInfo(path).size() > limits.maxPartBytes)
        throw SpreadsheetError(QStringLiteral("工作簿“%1”超过 %2 MB，不予读取。")
                                   .arg(path)
                                   .arg(limits.maxPartBytes / (1024 * 1024)));
    unsigned int count = 0;
    unsigned int dateMode = 0;
    unsigned int password = 0;
    if (freexl_open(QFile::encodeName(path).constData(), &m_handle) != FREEXL_OK ||
        freexl_get_info(m_handle, FREEXL_BIFF_PASSWORD, &password) != FREEXL_OK ||
        freexl_get_info(m_handle, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK ||
        freexl_get_info(m_handle, FREEXL_BIFF_DATEMODE, &dateMode) != FREEXL_OK)
        throw SpreadsheetError(damaged(path));
    if (password == FREEXL_BIFF_OBFUSCATED)
        throw SpreadsheetError(
            QStringLiteral("工作簿“%1”设有密码，无法读取。请在Excel中取消密码后另存为.xlsx再导入。")
                .arg(path));
    m_1904 = dateMode == FREEXL_BIFF_DATEMODE_1904;
    for (unsigned short sheet = 0; sheet < count; ++sheet) {
        const char *name = nullptr;
        if (freexl_get_worksheet_name(m_handle, sheet, &name) != FREEXL_OK)
            throw SpreadsheetError(damaged(path));
        m_sheets.append({QString::fromUtf8(name), false});
    }
    if (m_sheets.isEmpty())
        throw SpreadsheetError(QStringLiteral("工作簿“%1”中没有工作表。").arg(path));
}

XlsWorkbook::~XlsWorkbook() {
    freexl_close(m_handle);
}

QList<MergedArea> XlsWorkbook::readSheet(qsizetype index,
                                         const std::function<void(const SheetRow &)> &row) const {
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_select_active_worksheet(m_handle, (unsigned short)index) != FREEXL_OK ||
        freexl_worksheet_dimensions(m_handle, &rows, &columns) != FREEXL_OK)
        throw SpreadsheetError(damaged(m_path));
    if (rows > unsigned(m_limits.maxRows))
        throw SpreadsheetError(
            QStringLiteral("工作表“%1”超过 %2 行，不予导入。请把数据分成几个较小的文件。")
                .arg(m_sheets.at(index).name)
                .arg(m_limits.maxRows));
    for (unsigned int number = 0; number < rows; ++number) {
        SheetRow read{int(number) + 1, {}};
        for (unsigned short column = 0; column < columns; ++column) {
            FreeXL_CellValue value;
            if (freexl_get_cell_value(m_handle, number, column, &value) != FREEXL_OK)
                throw SpreadsheetError(damaged(m_path));
            const SheetCell cell = cellOf(value);
            if (cell.kind == SheetCell::Kind::Empty)
                continue;
            read.cells.resize(column + 1);
            read.cells[column] = cell;
        }
        if (!read.cells.isEmpty())
            row(read);
    }
    return {};
}
