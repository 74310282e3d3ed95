#include "savefiledialog.h"

#include <QFileDialog>
#include <QFileIconProvider>
#include <QHeaderView>
#include <QTreeView>

namespace {

constexpr QSize dialogSize(760, 460);

class ChineseFileTypes : public QFileIconProvider {
public:
    QString type(const QFileInfo &info) const override {
        if (info.isRoot())
            return QStringLiteral("驱动器");
        if (info.isDir())
            return QStringLiteral("文件夹");
        if (info.suffix().isEmpty())
            return QStringLiteral("文件");
        return info.suffix().toUpper() + QStringLiteral(" 文件");
    }
};

QString askFileName(QWidget *parent, const QString &caption, const QString &suggested,
                    const QString &filter, QFileDialog::AcceptMode mode) {
    static ChineseFileTypes fileTypes;
    QFileDialog dialog(parent, caption, suggested, filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    dialog.setIconProvider(&fileTypes);
    dialog.resize(dialogSize);
    // The name takes the room left after the other columns have what they show.
    if (auto *details = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        QHeaderView *header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

} // namespace

QString askSaveFileName(QWidget *parent, const QString &caption, const QString &suggested,
                        const QString &filter) {
    return askFileName(parent, caption, suggested, filter, QFileDialog::AcceptSave);
}

QString askOpenFileName(QWidget *parent, const QString &caption, const QString &suggested,
                        const QString &filter) {
    return askFileName(parent, caption, suggested, filter, QFileDialog::AcceptOpen);
}
