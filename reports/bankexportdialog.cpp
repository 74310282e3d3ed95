#include "bankexportdialog.h"

#include "bankfile.h"
#include "bankprofiledialog.h"
#include "caption.h"
#include "data.h"
#include "fonts.h"
#include "messages.h"
#include "monthendexport.h"
#include "monthtext.h"
#include "placement.h"
#include "savefiledialog.h"
#include "toolbutton.h"
#include "wiring.h"

#include <QComboBox>
#include <QDir>

namespace {

FrameLayout frame() {
    return {"银行代发文件",
            QSize(360, 150),
            "银 行 代 发 文 件",
            QPoint(108, 5),
            QPoint(335, 4),
            pixelFont(FontFamily::song, 12),
            FrameLayout::Bevel2::Rule,
            2,
            19};
}

// "王五（编号3）、孙八（编号6）", with each one's pay when asked.
QString listed(const std::vector<BankPayment> &payments, bool withAmounts) {
    QStringList names;
    for (const BankPayment &payment : payments)
        names << QStringLiteral("%1（编号%2）%3")
                     .arg(payment.name)
                     .arg(payment.employee)
                     .arg(withAmounts ? QStringLiteral(" ") + payment.amount.toFixed2()
                                      : QString());
    return names.join(QStringLiteral("、"));
}

QString fileFilter(const BankProfile &profile) {
    switch (profile.kind) {
    case BankFileKind::Workbook:
        return QStringLiteral("Excel文件 (*.xlsx)");
    case BankFileKind::Separated:
        return QStringLiteral("CSV文件 (*.csv)");
    case BankFileKind::FixedWidth:
        break;
    }
    return QStringLiteral("文本文件 (*.txt)");
}

void tellNotWritten() {
    Messages::plain("已取消，没有生成银行代发文件。");
}

} // namespace

BankExportDialog::BankExportDialog() : ModuleForm(frame()) {
    setObjectName("bankExportDialog");
    makeCaption(QString(), "工资月份：", {16, 42}, font(), this);
    c_ny = place(new QComboBox(this), "c_ny", {86, 38, 120, 20});
    makeCaption(QString(), "代发格式：", {16, 72}, font(), this);
    c_gs = place(new QComboBox(this), "c_gs", {86, 68, 160, 20});
    b_gs = makeToolButton("b_gs", Icon::modify, "格式…", {252, 58, 96, 40}, this);
    b_export = makeToolButton("b_export", Icon::save, "生成文件", {126, 104, 110, 40}, this);
    wire(b_gs, &FlatButton::clicked, this, &BankExportDialog::b_gsClick);
    wire(b_export, &FlatButton::clicked, this, &BankExportDialog::b_exportClick);
}

void BankExportDialog::FormCreate() {
    for (const QString &month : savedMonths(DM->ADC))
        c_ny->addItem(monthCaption(month), month);
    listProfiles();
}

void BankExportDialog::listProfiles() {
    const QVariant chosen = c_gs->currentData();
    c_gs->clear();
    for (const BankProfile &profile : readBankProfiles(DM->ADC))
        c_gs->addItem(profile.name, profile.id);
    const int index = c_gs->findData(chosen);
    if (index >= 0)
        c_gs->setCurrentIndex(index);
}

void BankExportDialog::b_gsClick() {
    BankProfileDialog dialog;
    dialog.FormCreate();
    dialog.exec();
    listProfiles();
}

QString BankExportDialog::confirmation(const BankProfile &profile, const BankBatch &batch) {
    QStringList lines;
    lines << QStringLiteral("%1按“%2”代发%3人，合计%4元。")
                 .arg(monthCaption(batch.month), profile.name)
                 .arg(batch.payable.size())
                 .arg(batch.total().toFixed2());
    if (!batch.withoutAccount.empty())
        lines << QStringLiteral("没有银行账号，不代发：") + listed(batch.withoutAccount, false);
    if (!batch.notPositive.empty())
        lines << QStringLiteral("实发工资为零或负数，不代发：") + listed(batch.notPositive, true);
    lines << QStringLiteral("确定生成银行代发文件吗？");
    return lines.join(QChar('\n'));
}

void BankExportDialog::b_exportClick() {
    if (c_ny->currentIndex() < 0) {
        Messages::plain("没有已保存的工资月份！");
        return;
    }
    const std::optional<BankProfile> profile =
        c_gs->currentIndex() < 0 ? std::nullopt
                                 : readBankProfile(DM->ADC, c_gs->currentData().toLongLong());
    if (!profile) {
        Messages::plain("请先选择代发格式！");
        listProfiles();
        return;
    }
    const BankBatch batch = readBankBatch(DM->ADC, c_ny->currentData().toString());
    if (batch.payable.empty()) {
        Messages::plain(
            QStringLiteral("%1没有可以代发的工资，未生成文件。").arg(monthCaption(batch.month)));
        return;
    }
    if (!mayExportMonth(batch.month)) {
        tellNotWritten();
        return;
    }
    try {
        // A text the bank could not read is said before the clerk is asked anything.
        if (profile->kind != BankFileKind::Workbook)
            bankFileText(*profile, batch);
        if (!Messages::confirm(confirmation(*profile, batch))) {
            tellNotWritten();
            return;
        }
        const QString path =
            askSaveFileName(this, QStringLiteral("保存银行代发文件"),
                            QDir::current().filePath(suggestedBankFileName(*profile, batch.month)),
                            fileFilter(*profile));
        if (path.isEmpty()) {
            tellNotWritten();
            return;
        }
        const QString written = writeBankFile(path, *profile, batch);
        recordMonthExport(batch.month, written);
        Messages::information(
            QStringLiteral("银行代发文件已保存：%1").arg(QDir::toNativeSeparators(written)));
    } catch (const BankFileRefused &refused) {
        Messages::plain(QString::fromStdString(refused.what()));
    }
}
