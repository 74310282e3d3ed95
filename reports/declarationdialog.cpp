#include "declarationdialog.h"

#include "data.h"
#include "declarationmapping.h"
#include "declarationmappingdialog.h"
#include "declarationtemplate.h"
#include "fonts.h"
#include "labels.h"
#include "messages.h"
#include "monthendexport.h"
#include "monthkey.h"
#include "placement.h"
#include "query.h"
#include "savefiledialog.h"
#include "spinedit.h"
#include "taxdeclaration.h"
#include "toolbutton.h"
#include "wiring.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace {

FrameLayout frame() {
    return {"个税申报表",
            QSize(420, 190),
            "个 税 申 报 表",
            QPoint(158, 5),
            QPoint(395, 4),
            pixelFont(FontFamily::song, 12),
            FrameLayout::Bevel2::Rule,
            2,
            19};
}

const QString notWritten = QStringLiteral("个税申报表没有导出。");

} // namespace

TaxDeclarationDialog::TaxDeclarationDialog() : ModuleForm(frame()) {
    setObjectName("taxDeclarationDialog");
    makeLabel("Label1", "工资月份：", {12, 42, 70, 14}, font(), this);
    e_n = place(new SpinEdit(2005, 2100, this), "e_n", {82, 38, 60, 20});
    e_y = place(new SpinEdit(1, 12, this), "e_y", {148, 38, 40, 20});
    makeLabel("Label2", "申报模板：", {12, 74, 70, 14}, font(), this);
    e_mb = place(new QLineEdit(this), "e_mb", {82, 70, 326, 18});
    e_mb->setClearButtonEnabled(true); // cleared: the program's own layout
    e_mb->setPlaceholderText("（程序自带的格式）");
    b_mb = makeToolButton("b_mb", Icon::magnifier, "选择模板", {12, 140, 100, 40}, this);
    b_dy = makeToolButton("b_dy", Icon::modify, "栏目对应", {117, 140, 100, 40}, this);
    b_dc = makeToolButton("b_dc", Icon::save, "导出", {328, 140, 80, 40}, this);
    wire(b_mb, &FlatButton::clicked, this, &TaxDeclarationDialog::b_mbClick);
    wire(b_dy, &FlatButton::clicked, this, &TaxDeclarationDialog::b_dyClick);
    wire(b_dc, &FlatButton::clicked, this, &TaxDeclarationDialog::b_dcClick);
}

// The latest saved month, which is the one usually declared next.
void TaxDeclarationDialog::FormCreate() {
    showThisMonth(e_n, e_y);
    Query latest(DM->ADC);
    latest.addLine("select max(ny) as ny from GZB");
    latest.open();
    const QString month = latest.field("ny").asString();
    if (isMonthKeyInRange(month)) {
        e_n->setValue(month.left(4).toInt());
        e_y->setValue(month.mid(4).toInt());
    }
}

void TaxDeclarationDialog::b_mbClick() {
    const QString chosen =
        askOpenFileName(this, "选择个税申报模板", e_mb->text(), "Excel 工作簿 (*.xlsx)");
    if (!chosen.isEmpty())
        e_mb->setText(chosen);
}

void TaxDeclarationDialog::b_dyClick() {
    DeclarationMappingDialog dialog;
    dialog.FormCreate();
    dialog.exec();
}

void TaxDeclarationDialog::b_dcClick() {
    const QString month = monthKey(e_n->value(), e_y->value());
    QStringList headings = declarationHeadings();
    const QString templatePath = e_mb->text().trimmed();
    if (!templatePath.isEmpty()) {
        try {
            headings = readTemplateHeadings(templatePath);
        } catch (const TemplateError &unreadable) {
            // The reason names the file.
            Messages::plain(
                QStringLiteral("申报模板无法读取：%1").arg(QString::fromUtf8(unreadable.what())));
            return;
        }
    }
    const Declaration declaration =
        readDeclaration(DM->ADC, month, readDeclarationMapping(DM->ADC));
    if (declaration.rows.empty() && declaration.withoutDocument.isEmpty()) {
        Messages::plain(
            QStringLiteral("%1年%2月没有保存的工资数据！").arg(e_n->value()).arg(e_y->value()));
        return;
    }
    if (!mayExportMonth(month)) {
        Messages::information(notWritten);
        return;
    }
    if (!declaration.withoutDocument.isEmpty() &&
        !Messages::confirm(
            QStringLiteral("以下员工没有证件号码，不能申报：\n%1\n\n是否导出其余%2人？")
                .arg(declaration.withoutDocument.join(u'\n'))
                .arg(declaration.rows.size()))) {
        Messages::information(notWritten);
        return;
    }
    const QString path =
        askSaveFileName(this, "导出个税申报表", QStringLiteral("个税申报表_%1.xlsx").arg(month),
                        "Excel 工作簿 (*.xlsx)");
    if (path.isEmpty()) {
        Messages::information(notWritten);
        return;
    }
    recordMonthExport(month, writeDeclaration(path, declaration, headings));
    QStringList unknown;
    for (const QString &heading : headings)
        if (!heading.trimmed().isEmpty() && knownHeading(heading).isEmpty())
            unknown << heading;
    QString done = QStringLiteral("个税申报表已导出，共%1人：\n%2")
                       .arg(declaration.rows.size())
                       .arg(QDir::toNativeSeparators(path));
    if (!declaration.bonusRows.empty()) {
        const QFileInfo normal(path);
        const QString bonusPath = normal.dir().filePath(normal.completeBaseName() +
                                                        QStringLiteral("_全年一次性奖金.xlsx"));
        recordMonthExport(month, writeBonusDeclaration(bonusPath, declaration));
        done += QStringLiteral("\n全年一次性奖金单独计税%1人，另存为：\n%2")
                    .arg(declaration.bonusRows.size())
                    .arg(QDir::toNativeSeparators(bonusPath));
    }
    if (!unknown.isEmpty())
        done += QStringLiteral("\n\n模板中以下各列程序无法填写，已留空：\n") + unknown.join(u'、');
    Messages::information(done);
}
