#include "templateworkbook.h"

#include <QProcess>
#include <QTest>

namespace {

void runPython(const char *script, const QStringList &arguments) {
    QProcess python;
    python.start("/usr/bin/python3", QStringList{"-c", QString::fromUtf8(script)} + arguments);
    QVERIFY(python.waitForFinished(120000));
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
}

} // namespace

void makeWorkbook(const QString &path, const QStringList &cells, bool inlineStrings) {
    const char *const shared = R"(
import sys, openpyxl
book = openpyxl.Workbook()
sheet = book.active
sheet.title = "正常工资薪金收入"
for i, text in enumerate(sys.argv[2:]):
    if text:
        sheet.cell(row=1, column=i + 1, value=text)
sheet.cell(row=2, column=1, value="示例")
book.create_sheet("说明").cell(row=1, column=1, value="不是第一张")
book.save(sys.argv[1])
)";
    const char *const inlined = R"(
import sys, zipfile
from xml.sax.saxutils import escape
cells = "".join('<c r="%s1" t="inlineStr"><is><r><t>%s</t></r><r><t></t></r></is></c>'
                % (chr(65 + i), escape(t)) for i, t in enumerate(sys.argv[2:]) if t)
with zipfile.ZipFile(sys.argv[1], "w") as z:
    z.writestr("xl/workbook.xml", '<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="a" sheetId="1" r:id="rId7"/></sheets></workbook>')
    z.writestr("xl/_rels/workbook.xml.rels", '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId7" Type="worksheet" Target="worksheets/data.xml"/></Relationships>')
    z.writestr("xl/worksheets/data.xml", '<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData><row r="1">' + cells + '</row><row r="2"><c r="A2" t="inlineStr"><is><t>x</t></is></c></row></sheetData></worksheet>')
)";
    runPython(inlineStrings ? inlined : shared, QStringList{path} + cells);
}

void makeSwollenWorkbook(const QString &path) {
    const char *const swollen = R"(
import sys, zipfile
count = 2500 * 1000
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("xl/workbook.xml", '<workbook xmlns:r="r"><sheets><sheet name="a" r:id="rId1"/></sheets></workbook>')
    z.writestr("xl/_rels/workbook.xml.rels", '<Relationships><Relationship Id="rId1" Target="worksheets/sheet1.xml"/></Relationships>')
    z.writestr("xl/worksheets/sheet1.xml", '<worksheet><sheetData><row r="1"><c r="A1" t="s"><v>%d</v></c></row></sheetData></worksheet>' % (count - 1))
    z.writestr("xl/sharedStrings.xml", "<sst>" + "<si><t>headingheadingheading</t></si>" * count + "</sst>")
)";
    runPython(swollen, {path});
}
