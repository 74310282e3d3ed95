#include "declarationmappingdialog.h"

#include "data.h"
#include "fonts.h"
#include "placement.h"
#include "toolbutton.h"
#include "wiring.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTableWidget>

namespace {

FrameLayout frame() {
    return {"申报栏目对应",
            QSize(420, 360),
            "申 报 栏 目 对 应",
            QPoint(148, 5),
            QPoint(395, 4),
            pixelFont(FontFamily::song, 12),
            FrameLayout::Bevel2::Rule,
            2,
            19};
}

enum Column { Item, Kind, Heading };

const QString notDeclared = QStringLiteral("（不申报）");

QTableWidgetItem *fixed(const QString &text) {
    auto *cell = new QTableWidgetItem(text);
    cell->setFlags(cell->flags() & ~Qt::ItemIsEditable);
    return cell;
}

} // namespace

DeclarationMappingDialog::DeclarationMappingDialog() : ModuleForm(frame()) {
    setObjectName("declarationMappingDialog");
    t_xm = place(new QTableWidget(0, 3, this), "t_xm", {12, 34, 396, 270});
    t_xm->setHorizontalHeaderLabels({"工资项目", "类别", "申报栏目"});
    t_xm->verticalHeader()->setVisible(false);
    t_xm->verticalHeader()->setDefaultSectionSize(22);
    t_xm->setColumnWidth(Item, 130);
    t_xm->setColumnWidth(Kind, 60);
    t_xm->horizontalHeader()->setStretchLastSection(true);
    b_ok = makeToolButton("b_ok", Icon::save, "确定", {240, 312, 80, 40}, this);
    b_cancel = makeToolButton("b_cancel", Icon::cancel, "取消", {325, 312, 80, 40}, this);
    wire(b_ok, &FlatButton::clicked, this, &DeclarationMappingDialog::b_okClick);
    QObject::connect(b_cancel, &FlatButton::clicked, this, &QDialog::reject);
}

void DeclarationMappingDialog::FormCreate() {
    m_items = readDeclarationMapping(DM->ADC);
    t_xm->setRowCount(int(m_items.size()));
    for (int row = 0; row < int(m_items.size()); ++row) {
        const MappedItem &item = m_items[std::size_t(row)];
        t_xm->setItem(row, Item, fixed(item.name));
        t_xm->setItem(row, Kind, fixed(item.deduction ? "扣除" : "收入"));
        auto *box = new QComboBox(t_xm);
        box->addItem(notDeclared);
        box->addItems(itemHeadings());
        box->setCurrentIndex(item.heading.isEmpty() ? 0 : std::max(0, box->findText(item.heading)));
        t_xm->setCellWidget(row, Heading, box);
    }
}

QComboBox *DeclarationMappingDialog::headingBox(int row) const {
    return qobject_cast<QComboBox *>(t_xm->cellWidget(row, Heading));
}

void DeclarationMappingDialog::b_okClick() {
    for (int row = 0; row < int(m_items.size()); ++row) {
        const QComboBox *box = headingBox(row);
        m_items[std::size_t(row)].heading =
            box->currentIndex() == 0 ? QString() : box->currentText();
    }
    storeDeclarationMapping(DM->ADC, m_items);
    accept();
}
