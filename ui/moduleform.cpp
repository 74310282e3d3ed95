#include "moduleform.h"

#include "bevel.h"
#include "data.h"
#include "flatbutton.h"
#include "guard.h"
#include "labels.h"
#include "placement.h"
#include "windowgrey.h"
#include "wiring.h"

#include <QApplication>
#include <QKeyEvent>

namespace {

constexpr int bevel2Top = 25;
// A window without a rule or band has its tool bar there instead, a pixel higher.
constexpr int toolBarTop = 24;

bool isEnter(const QKeyEvent *event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

ModuleForm::ModuleForm(const FrameLayout &layout, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setWindowTitle(layout.caption);
    setModal(true);
    setFixedSize(layout.clientSize);
    setFont(layout.baseFont);
    setPalette(withWindowGrey(palette()));
    setAutoFillBackground(true);

    const int width = layout.clientSize.width();
    Bevel1 = new Bevel(Bevel::Shape::Frame, rect(), this);
    if (layout.bevel2 == FrameLayout::Bevel2::Rule)
        Bevel2 = new Bevel(Bevel::Shape::TopLine, QRect(0, bevel2Top, width, 2), this);
    else if (layout.bevel2 == FrameLayout::Bevel2::Band)
        Bevel2 =
            new Bevel(Bevel::Shape::Frame, QRect(0, bevel2Top, width, layout.bevel2Height), this);

    Label8 = makeTitle(layout.title, layout.titlePosition, this,
                       layout.bevel2 == FrameLayout::Bevel2::None ? toolBarTop : bevel2Top);

    SpeedButton3 = makeCloseButton(QRect(layout.closePosition, QSize(layout.closeWidth, 20)), this);
    wire(SpeedButton3, &FlatButton::clicked, this, &ModuleForm::SpeedButton3Click);

    // Key preview: the window looks at every key of its controls first.
    qApp->installEventFilter(this);
}

ModuleForm::~ModuleForm() {
    qApp->removeEventFilter(this);
}

bool ModuleForm::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress && receivesKeysFirst(watched))
        return FormKeyDown(static_cast<QKeyEvent *>(event)) ||
               FormKeyPress(static_cast<QKeyEvent *>(event));
    return QDialog::eventFilter(watched, event);
}

bool ModuleForm::receivesKeysFirst(const QObject *watched) const {
    const QWidget *focused = QApplication::focusWidget();
    if (focused && focused->window() == this)
        return watched == focused;
    return watched == this;
}

bool ModuleForm::FormKeyPress(QKeyEvent *event) {
    if (!isEnter(event))
        return false;
    // Styles mark the focused combo box, check box or radio button only in a window whose
    // focus moved by key, and Qt counts only Tab as such a key.
    setAttribute(Qt::WA_KeyboardFocusChange);
    focusNextChild();
    return true;
}

// A dialog would close on Escape and press its default button on Enter; a module window
// does neither: it closes only through its close button.
void ModuleForm::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape || isEnter(event)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ModuleForm::showEvent(QShowEvent *event) {
    centreOnScreen(this);
    QDialog::showEvent(event);
    if (!m_activated && !event->spontaneous()) {
        m_activated = true;
        guarded([this] { FormActivate(); });
    }
}

void ModuleForm::done(int result) {
    guarded([this] { FormClose(); });
    QDialog::done(result);
}

void ModuleForm::SpeedButton3Click() {
    accept();
}

void openModule(const ModuleFactory &create) {
    CloseAllQueries();
    const std::unique_ptr<ModuleForm> window = create();
    guarded([&] { window->FormCreate(); });
    window->exec();
}
