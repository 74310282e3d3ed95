#include "previewdialog.h"

#include "guard.h"
#include "pageview.h"
#include "progress.h"
#include "reportexport.h"
#include "reportpainter.h"
#include "savefiledialog.h"

#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The pictures Qt's print support carries for its own preview, so the toolbar looks as
// the operator knows it.
QIcon previewIcon(const QString &name) {
    const QString images = QStringLiteral(":/qt-project.org/dialogs/qprintpreviewdialog/images/");
    QIcon icon;
    icon.addFile(images + name + QStringLiteral("-24.png"), QSize(24, 24));
    icon.addFile(images + name + QStringLiteral("-32.png"), QSize(32, 32));
    return icon;
}

QAction *toolAction(QToolBar &toolBar, const char *name, const QString &icon, const QString &text,
                    const QList<QKeySequence> &keys = {}) {
    QAction *action = toolBar.addAction(previewIcon(icon), text);
    action->setObjectName(QString::fromLatin1(name));
    if (!keys.isEmpty()) {
        action->setShortcuts(keys);
        // Portable text: the key caps read the same whatever language Qt's own texts are in.
        action->setToolTip(
            QStringLiteral("%1 (%2)").arg(text, keys.first().toString(QKeySequence::PortableText)));
    }
    return action;
}

// A tool bar gives its buttons no focus, which leaves them to the mouse.
void letTabReachTheButtons(QToolBar &toolBar) {
    for (QToolButton *button : toolBar.findChildren<QToolButton *>())
        button->setFocusPolicy(Qt::TabFocus);
}

QString percent(double factor) {
    return QString::number(qRound(factor * 1000) / 10.0) + QLatin1Char('%');
}

} // namespace

PreviewDialog::PreviewDialog(const PreviewedReport &report, QWidget *parent)
    : QDialog(parent), m_report(report), m_printer(QPrinter::HighResolution),
      m_view(new PageView(report.pages, this)) {
    setWindowTitle(report.documentName);
    m_printer.setFullPage(true); // the report's own margins are 0
    m_printer.setPageLayout(reportPageLayout());
    m_printer.setDocName(report.documentName);

    auto *toolBar = new QToolBar(this);
    toolBar->setIconSize(QSize(24, 24));
    addZoomActions(*toolBar);
    toolBar->addSeparator();
    addPageActions(*toolBar);
    toolBar->addSeparator();
    addPrintActions(*toolBar);
    toolBar->addSeparator();
    addExportActions(*toolBar);
    letTabReachTheButtons(*toolBar);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    layout->addWidget(m_view);
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        resize(screen->availableSize() * 4 / 5);
    m_view->setFocus();
}

void PreviewDialog::addZoomActions(QToolBar &toolBar) {
    connect(toolAction(toolBar, "fitWidth", QStringLiteral("zoom-fit-width"),
                       QStringLiteral("适合宽度")),
            &QAction::triggered, m_view,
            [this] { m_view->setZoomMode(PageView::ZoomMode::FitWidth); });
    connect(
        toolAction(toolBar, "fitPage", QStringLiteral("zoom-fit-page"), QStringLiteral("适合页面")),
        &QAction::triggered, m_view, [this] { m_view->setZoomMode(PageView::ZoomMode::FitPage); });
    toolBar.addSeparator();

    m_zoom = new QComboBox(&toolBar);
    m_zoom->setObjectName(QStringLiteral("zoom"));
    m_zoom->setEditable(true);
    m_zoom->setInsertPolicy(QComboBox::NoInsert);
    for (const double factor : {0.125, 0.25, 0.5, 0.75, 1.0, 1.25, 1.5, 2.0, 4.0, 8.0})
        m_zoom->addItem(percent(factor));
    m_zoom->setMinimumContentsLength(7);
    toolBar.addWidget(m_zoom);
    connect(m_zoom->lineEdit(), &QLineEdit::editingFinished, m_view, [this] {
        bool ok = false;
        const double factor =
            m_zoom->currentText().remove(QLatin1Char('%')).trimmed().toDouble(&ok);
        if (ok && factor > 0)
            m_view->setZoomFactor(factor / 100);
        showZoom();
    });
    connect(m_zoom, &QComboBox::activated, m_view, [this](int index) {
        m_view->setZoomFactor(m_zoom->itemText(index).chopped(1).toDouble() / 100);
    });
    // Ctrl+= too: on most keyboards plus is the shifted equals sign.
    connect(toolAction(toolBar, "zoomIn", QStringLiteral("zoom-in"), QStringLiteral("放大"),
                       {Qt::CTRL | Qt::Key_Plus, Qt::CTRL | Qt::Key_Equal}),
            &QAction::triggered, m_view, &PageView::zoomIn);
    connect(toolAction(toolBar, "zoomOut", QStringLiteral("zoom-out"), QStringLiteral("缩小"),
                       {Qt::CTRL | Qt::Key_Minus}),
            &QAction::triggered, m_view, &PageView::zoomOut);
    connect(m_view, &PageView::zoomChanged, this, &PreviewDialog::showZoom);
    showZoom();
}

void PreviewDialog::showZoom() {
    m_zoom->setEditText(percent(m_view->zoomFactor()));
}

void PreviewDialog::addPageActions(QToolBar &toolBar) {
    connect(toolAction(toolBar, "firstPage", QStringLiteral("go-first"), QStringLiteral("第一页"),
                       {Qt::Key_Home}),
            &QAction::triggered, m_view, [this] { m_view->setCurrentPage(1); });
    connect(toolAction(toolBar, "previousPage", QStringLiteral("go-previous"),
                       QStringLiteral("上一页"), {Qt::Key_PageUp}),
            &QAction::triggered, m_view,
            [this] { m_view->setCurrentPage(m_view->currentPage() - 1); });

    m_pageNumber = new QLineEdit(&toolBar);
    m_pageNumber->setObjectName(QStringLiteral("pageNumber"));
    m_pageNumber->setAlignment(Qt::AlignRight);
    m_pageNumber->setValidator(
        new QIntValidator(1, std::max(1, m_view->pageCount()), m_pageNumber));
    const QString count = QString::number(m_view->pageCount());
    m_pageNumber->setMaximumWidth(m_pageNumber->fontMetrics().horizontalAdvance(count) * 2 + 12);
    m_pageNumber->setText(QString::number(m_view->currentPage()));
    toolBar.addWidget(m_pageNumber);
    toolBar.addWidget(new QLabel(QStringLiteral(" / ") + count + QLatin1Char(' '), &toolBar));
    connect(m_pageNumber, &QLineEdit::editingFinished, m_view,
            [this] { m_view->setCurrentPage(m_pageNumber->text().toInt()); });
    connect(m_view, &PageView::currentPageChanged, m_pageNumber,
            [this](int page) { m_pageNumber->setText(QString::number(page)); });

    connect(toolAction(toolBar, "nextPage", QStringLiteral("go-next"), QStringLiteral("下一页"),
                       {Qt::Key_PageDown}),
            &QAction::triggered, m_view,
            [this] { m_view->setCurrentPage(m_view->currentPage() + 1); });
    connect(toolAction(toolBar, "lastPage", QStringLiteral("go-last"), QStringLiteral("最后一页"),
                       {Qt::Key_End}),
            &QAction::triggered, m_view, [this] { m_view->setCurrentPage(m_view->pageCount()); });
}

void PreviewDialog::addPrintActions(QToolBar &toolBar) {
    connect(
        toolAction(toolBar, "pageSetup", QStringLiteral("page-setup"), QStringLiteral("页面设置")),
        &QAction::triggered, this, [this] { QPageSetupDialog(&m_printer, this).exec(); });
    connect(toolAction(toolBar, "print", QStringLiteral("printer"), QStringLiteral("打印"),
                       {Qt::CTRL | Qt::Key_P}),
            &QAction::triggered, this, &PreviewDialog::print);
}

void PreviewDialog::print() {
    guarded([&] {
        QPrintDialog dialog(&m_printer, this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        Progress progress(this, QStringLiteral("正在打印报表…"));
        printPages(m_report.pages, m_printer, &progress);
    });
}

void PreviewDialog::addExportActions(QToolBar &toolBar) {
    for (const ReportExport &format : reportExports()) {
        QAction *action = toolBar.addAction(format.caption);
        action->setObjectName(format.caption);
        connect(action, &QAction::triggered, this, [this, &format] { save(format); });
    }
}

void PreviewDialog::save(const ReportExport &format) {
    guarded([&] {
        const QString path = askSaveFileName(
            this, format.caption, m_report.documentName + QLatin1Char('.') + format.fileSuffix,
            format.fileFilter);
        if (path.isEmpty())
            return;
        Progress progress(this, QStringLiteral("正在生成报表…"));
        format.write(m_report, path, &progress);
    });
}
