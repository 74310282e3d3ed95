#include "importdialog.h"

#include "caption.h"
#include "flatbutton.h"
#include "fonts.h"
#include "messages.h"
#include "placement.h"
#include "progress.h"
#include "toolbutton.h"
#include "wiring.h"
#include "workbook.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopedValueRollback>

namespace {

FrameLayout frame(const QString &caption, const QString &title, QSize size) {
    return {caption,
            size,
            title,
            QPoint((size.width() - int(title.size()) * 12) / 2, 5),
            QPoint(size.width() - 25, 4),
            pixelFont(FontFamily::song, 12),
            FrameLayout::Bevel2::Rule,
            2,
            19};
}

} // namespace

ImportDialog::ImportDialog(const QString &caption, const QString &title, QSize size, int ownHeight)
    : ModuleForm(frame(caption, title, size)) {
    const int width = size.width();
    const int height = size.height();
    makeCaption(QString(), "文件：", {12, 40}, font(), this);
    e_file = place(new QLineEdit(this), "e_file", {60, 36, width - 180, 18});
    e_file->setReadOnly(true);
    b_file = makeToolButton("b_file", Icon::magnifier, "选择…", {width - 112, 26, 100, 40}, this);
    makeCaption(QString(), "工作表：", {12, 70}, font(), this);
    c_sheet = place(new QComboBox(this), "c_sheet", {60, 66, 240, 20});
    const int previewTop = ownControlsTop + ownHeight;
    t_preview = place(new QPlainTextEdit(this), "t_preview",
                      {12, previewTop, width - 24, height - previewTop - 50});
    t_preview->setReadOnly(true);
    b_import =
        makeToolButton("b_import", Icon::save, "导入", {width - 170, height - 44, 77, 40}, this);
    b_import->setEnabled(false);
    b_close =
        makeToolButton("b_close", Icon::cancel, "取消", {width - 89, height - 44, 77, 40}, this);

    wire(b_file, &FlatButton::clicked, this, &ImportDialog::b_fileClick);
    wire(c_sheet, &QComboBox::currentIndexChanged, this, &ImportDialog::c_sheetChange);
    wire(b_import, &FlatButton::clicked, this, &ImportDialog::b_importClick);
    connect(b_close, &FlatButton::clicked, this, &QDialog::reject);
}

ImportDialog::~ImportDialog() = default;

void ImportDialog::b_fileClick() {
    const QString path = QFileDialog::getOpenFileName(this, "选择Excel工作簿", QString(),
                                                      "Excel工作簿 (*.xlsx *.xls);;所有文件 (*)");
    if (!path.isEmpty())
        openFile(path);
}

void ImportDialog::openFile(const QString &path) {
    m_book.reset();
    m_sheet = {};
    b_import->setEnabled(false);
    t_preview->clear();
    {
        const QScopedValueRollback<bool> filling(m_filling, true);
        c_sheet->clear();
    }
    e_file->setText(path);
    m_book = openWorkbook(path);
    int first = -1;
    {
        const QScopedValueRollback<bool> filling(m_filling, true);
        for (qsizetype at = 0; at < m_book->sheets().size(); ++at) {
            const Workbook::Sheet &sheet = m_book->sheets().at(at);
            c_sheet->addItem(sheet.hidden ? sheet.name + "（隐藏）" : sheet.name);
            if (first < 0 && !sheet.hidden)
                first = int(at);
        }
    }
    if (first < 0) {
        Messages::plain("这个工作簿的工作表都是隐藏的。请在Excel中取消隐藏、核对后再导入。");
        return;
    }
    chooseSheet(first);
}

void ImportDialog::chooseSheet(int index) {
    if (c_sheet->currentIndex() != index) {
        c_sheet->setCurrentIndex(index); // reads it through c_sheetChange
        return;
    }
    c_sheetChange();
}

void ImportDialog::c_sheetChange() {
    if (m_filling || !m_book || c_sheet->currentIndex() < 0)
        return;
    m_sheet = {};
    b_import->setEnabled(false);
    t_preview->clear();
    Progress progress(this, "正在读取工作表…");
    m_sheet = readImportSheet(*m_book, c_sheet->currentIndex(), knownHeaders(),
                              [&] { progress.pulse(); });
    sheetRead(m_sheet);
    showPreview();
}

void ImportDialog::showPreview() {
    bool importable = false;
    t_preview->setPlainText(preview(m_sheet, importable));
    b_import->setEnabled(importable);
}

void ImportDialog::b_importClick() {
    if (!Messages::confirm("按预览所列导入吗？"))
        return;
    write();
    accept();
}
