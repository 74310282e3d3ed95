#include "bankprofiledialog.h"

#include "caption.h"
#include "data.h"
#include "fonts.h"
#include "messages.h"
#include "placement.h"
#include "rowasread.h"
#include "toolbutton.h"
#include "wiring.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTableWidget>

namespace {

FrameLayout frame() {
    return {"银行代发格式",
            QSize(600, 420),
            "银 行 代 发 格 式",
            QPoint(228, 5),
            QPoint(575, 4),
            pixelFont(FontFamily::song, 12),
            FrameLayout::Bevel2::Rule,
            2,
            19};
}

// In the order of BankFileKind and BankTotalLine: a choice's index is its value.
const QStringList fileKinds = {"Excel文件（xlsx）", "CSV文件", "定长文本"};
const QStringList totalLines = {"无", "在明细之前", "在明细之后"};
const QStringList alignments = {"左对齐", "右对齐"};

enum Column { Kind, Caption, Text, Width, Alignment };

QString cellText(const QTableWidget *table, int row, int column) {
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text() : QString();
}

QComboBox *choiceIn(const QTableWidget *table, int row, int column) {
    return qobject_cast<QComboBox *>(table->cellWidget(row, column));
}

BankProfile newProfile() {
    BankProfile profile;
    for (const BankFieldKind kind :
         {BankFieldKind::Account, BankFieldKind::Name, BankFieldKind::Amount})
        profile.fields.push_back(
            {kind, bankFieldName(kind), QString(), 20, kind == BankFieldKind::Amount});
    return profile;
}

} // namespace

BankProfileDialog::BankProfileDialog() : ModuleForm(frame()) {
    setObjectName("bankProfileDialog");
    l_gs = place(new QListWidget(this), "l_gs", {12, 34, 150, 326});

    makeCaption(QString(), "名称：", {176, 38}, font(), this);
    e_mc = place(new QLineEdit(this), "e_mc", {246, 34, 180, 18});
    makeCaption(QString(), "文件类型：", {176, 62}, font(), this);
    c_wjlx = place(new QComboBox(this), "c_wjlx", {246, 58, 130, 20});
    c_wjlx->addItems(fileKinds);
    makeCaption(QString(), "编码：", {390, 62}, font(), this);
    c_bm = place(new QComboBox(this), "c_bm", {430, 58, 80, 20});
    c_bm->addItems({"GBK", "UTF-8"});
    makeCaption(QString(), "分隔符：", {176, 86}, font(), this);
    e_fgf = place(new QLineEdit(this), "e_fgf", {246, 82, 40, 18});
    c_lbt = place(new QCheckBox("列标题行", this), "c_lbt", {300, 84, 90, 17});
    makeCaption(QString(), "合计行：", {390, 86}, font(), this);
    c_hjh = place(new QComboBox(this), "c_hjh", {440, 82, 100, 20});
    c_hjh->addItems(totalLines);
    makeCaption(QString(), "表头文字：", {176, 110}, font(), this);
    e_btwb = place(new QPlainTextEdit(this), "e_btwb", {246, 106, 340, 44});

    t_zd = place(new QTableWidget(0, 5, this), "t_zd", {176, 156, 410, 160});
    t_zd->setHorizontalHeaderLabels({"字段", "标题", "内容", "宽度(字节)", "对齐"});
    t_zd->verticalHeader()->setDefaultSectionSize(20);
    t_zd->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t_zd->setColumnWidth(Kind, 84);
    t_zd->setColumnWidth(Caption, 76);
    t_zd->setColumnWidth(Text, 70);
    t_zd->setColumnWidth(Width, 70);
    t_zd->horizontalHeader()->setStretchLastSection(true);

    b_addfield = makeToolButton("b_addfield", Icon::add, "增加字段", {176, 320, 96, 40}, this);
    b_delfield = makeToolButton("b_delfield", Icon::remove, "删除字段", {276, 320, 96, 40}, this);
    b_new = makeToolButton("b_new", Icon::add, "新建", {176, 370, 90, 40}, this);
    b_copy = makeToolButton("b_copy", Icon::modify, "复制", {280, 370, 90, 40}, this);
    b_delete = makeToolButton("b_delete", Icon::remove, "删除", {384, 370, 90, 40}, this);
    b_save = makeToolButton("b_save", Icon::save, "保存", {488, 370, 90, 40}, this);

    wire(l_gs, &QListWidget::currentRowChanged, this, &BankProfileDialog::l_gsChange);
    wire(c_wjlx, &QComboBox::currentIndexChanged, this, &BankProfileDialog::c_wjlxChange);
    wire(b_addfield, &FlatButton::clicked, this, &BankProfileDialog::b_addfieldClick);
    wire(b_delfield, &FlatButton::clicked, this, &BankProfileDialog::b_delfieldClick);
    wire(b_new, &FlatButton::clicked, this, &BankProfileDialog::b_newClick);
    wire(b_copy, &FlatButton::clicked, this, &BankProfileDialog::b_copyClick);
    wire(b_delete, &FlatButton::clicked, this, &BankProfileDialog::b_deleteClick);
    wire(b_save, &FlatButton::clicked, this, &BankProfileDialog::b_saveClick);
}

void BankProfileDialog::FormCreate() {
    listProfiles(0);
}

void BankProfileDialog::listProfiles(qint64 shown) {
    m_profiles = readBankProfiles(DM->ADC);
    const QSignalBlocker quiet(l_gs);
    l_gs->clear();
    int chosen = 0;
    for (std::size_t index = 0; index < m_profiles.size(); ++index) {
        l_gs->addItem(m_profiles[index].name);
        if (m_profiles[index].id == shown)
            chosen = int(index);
    }
    if (m_profiles.empty()) {
        showProfile(newProfile());
        return;
    }
    l_gs->setCurrentRow(chosen);
    showProfile(m_profiles[std::size_t(chosen)]);
}

void BankProfileDialog::showProfile(const BankProfile &profile) {
    m_asRead = profile;
    e_mc->setText(profile.name);
    c_wjlx->setCurrentIndex(int(profile.kind));
    c_wjlxChange();
    c_bm->setCurrentIndex(profile.gbk ? 0 : 1);
    e_fgf->setText(profile.separator);
    c_lbt->setChecked(profile.captionLine);
    c_hjh->setCurrentIndex(int(profile.totalLine));
    e_btwb->setPlainText(profile.headerLines.join(QChar('\n')));
    t_zd->setRowCount(0);
    for (const BankField &field : profile.fields)
        addField(field);
}

void BankProfileDialog::addField(const BankField &field) {
    const int row = t_zd->rowCount();
    t_zd->insertRow(row);
    auto *kind = new QComboBox(t_zd);
    kind->addItems(bankFieldNames());
    kind->setCurrentIndex(int(field.kind));
    t_zd->setCellWidget(row, Kind, kind);
    t_zd->setItem(row, Caption, new QTableWidgetItem(field.caption));
    t_zd->setItem(row, Text, new QTableWidgetItem(field.text));
    t_zd->setItem(row, Width, new QTableWidgetItem(QString::number(field.width)));
    t_zd->item(row, Width)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto *alignment = new QComboBox(t_zd);
    alignment->addItems(alignments);
    alignment->setCurrentIndex(field.rightAligned ? 1 : 0);
    t_zd->setCellWidget(row, Alignment, alignment);
}

// What the controls hold, as the profile being edited; a width that is no number reads as 0,
// which the check refuses for fixed widths.
BankProfile BankProfileDialog::edited() const {
    BankProfile profile;
    profile.id = m_asRead.id;
    profile.name = e_mc->text().trimmed();
    profile.kind = BankFileKind(c_wjlx->currentIndex());
    profile.gbk = c_bm->currentIndex() == 0;
    profile.separator = e_fgf->text();
    profile.captionLine = c_lbt->isChecked();
    profile.totalLine = BankTotalLine(c_hjh->currentIndex());
    const QString header = e_btwb->toPlainText();
    if (!header.isEmpty())
        profile.headerLines = header.split(QChar('\n'));
    for (int row = 0; row < t_zd->rowCount(); ++row)
        profile.fields.push_back({BankFieldKind(choiceIn(t_zd, row, Kind)->currentIndex()),
                                  cellText(t_zd, row, Caption).trimmed(), cellText(t_zd, row, Text),
                                  cellText(t_zd, row, Width).trimmed().toInt(),
                                  choiceIn(t_zd, row, Alignment)->currentIndex() == 1});
    return profile;
}

void BankProfileDialog::l_gsChange() {
    const int row = l_gs->currentRow();
    if (row >= 0 && row < int(m_profiles.size()))
        showProfile(m_profiles[std::size_t(row)]);
}

// A workbook has neither an encoding nor a separator of its own.
void BankProfileDialog::c_wjlxChange() {
    const bool text = BankFileKind(c_wjlx->currentIndex()) != BankFileKind::Workbook;
    c_bm->setEnabled(text);
    e_fgf->setEnabled(text);
}

void BankProfileDialog::b_addfieldClick() {
    addField({BankFieldKind::Constant, QString(), QString(), 10, false});
    t_zd->setCurrentCell(t_zd->rowCount() - 1, Caption);
}

void BankProfileDialog::b_delfieldClick() {
    const int row = t_zd->currentRow() >= 0 ? t_zd->currentRow() : t_zd->rowCount() - 1;
    if (row >= 0)
        t_zd->removeRow(row);
}

void BankProfileDialog::b_newClick() {
    l_gs->setCurrentRow(-1);
    showProfile(newProfile());
    e_mc->setFocus();
}

// The copy is what the controls hold now, under a name of its own, stored on saving.
void BankProfileDialog::b_copyClick() {
    BankProfile copy = edited();
    copy.id = 0;
    copy.name += QStringLiteral("（副本）");
    l_gs->setCurrentRow(-1);
    showProfile(copy);
    e_mc->setFocus();
}

void BankProfileDialog::b_deleteClick() {
    if (m_asRead.id == 0)
        return;
    if (!Messages::confirm(QStringLiteral("确定删除格式“%1”吗？").arg(m_asRead.name)))
        return;
    if (!deleteBankProfile(DM->ADC, m_asRead))
        tellChangedMeanwhile();
    listProfiles(m_asRead.id);
}

void BankProfileDialog::b_saveClick() {
    const BankProfile profile = edited();
    if (const QString problem = bankProfileProblem(profile); !problem.isEmpty()) {
        Messages::plain(problem);
        return;
    }
    for (const BankProfile &other : m_profiles)
        if (other.id != profile.id && other.name == profile.name) {
            Messages::plain(QStringLiteral("已有名为“%1”的格式！").arg(profile.name));
            e_mc->setFocus();
            return;
        }
    if (profile.id == 0) {
        listProfiles(addBankProfile(DM->ADC, profile));
        return;
    }
    if (!storeBankProfile(DM->ADC, m_asRead, profile))
        tellChangedMeanwhile();
    listProfiles(profile.id);
}
