#include "sheetreader.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

namespace {

const char *const script = R"(
import json, sys, openpyxl
formulas = openpyxl.load_workbook(sys.argv[1]).active
cached = openpyxl.load_workbook(sys.argv[1], data_only=True).active
rows = []
for row, values in zip(formulas.iter_rows(), cached.iter_rows()):
    cells = []
    for cell, value in zip(row, values):
        cells.append({"v": cell.value, "t": cell.data_type, "fmt": cell.number_format,
                      "bold": bool(cell.font.b), "font": cell.font.name,
                      "cached": value.value})
    rows.append(cells)
rows.append({"frozen": formulas.freeze_panes,
             "orientation": formulas.page_setup.orientation,
             "paper": formulas.page_setup.paperSize,
             "titleRows": formulas.print_title_rows})
json.dump(rows, sys.stdout, ensure_ascii=False)
)";

} // namespace

QJsonArray readSheetBack(const QString &path) {
    QProcess reader;
    // The system's own Python: it is the one Debian's openpyxl is installed for.
    reader.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QString::fromUtf8(script), path});
    if (!reader.waitForFinished(60000) || reader.exitCode() != 0) {
        QTest::qFail(qPrintable(QStringLiteral("openpyxl could not read %1: %2")
                                    .arg(path, QString::fromUtf8(reader.readAllStandardError()))),
                     __FILE__, __LINE__);
        return {};
    }
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).array();
}
