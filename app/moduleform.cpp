#include "moduleform.h"

#include "bevel.h"
#include "flatbutton.h"
#include "fonts.h"
#include "guard.h"
#include "placement.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

namespace {

const QColor background(197, 195, 198);
constexpr int bevel2Top = 25;

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
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background);
    setPalette(colours);
    setAutoFillBackground(true);

    const int width = layout.clientSize.width();
    Bevel1 = new Bevel(Bevel::Shape::Frame, rect(), this);
    if (layout.bevel2 == FrameLayout::Bevel2::Rule)
        Bevel2 = new Bevel(Bevel::Shape::TopLine, QRect(0, bevel2Top, width, 2), this);
    else if (layout.bevel2 == FrameLayout::Bevel2::Band)
        Bevel2 =
            new Bevel(Bevel::Shape::Frame, QRect(0, bevel2Top, width, layout.bevel2Height), this);

    Label8 = new QLabel(layout.title, this);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->setFont(pixelFont(FontFamily::kai, 19, true));
    Label8->setAttribute(Qt::WA_TranslucentBackground);
    Label8->move(layout.titlePosition);
    Label8->adjustSize();

    SpeedButton3 = makeCloseButton(QRect(layout.closePosition, QSize(layout.closeWidth, 20)), this);
    connect(SpeedButton3, &FlatButton::clicked, this,
            [this] { guarded([this] { SpeedButton3Click(); }); });

    // Key preview: the window looks at every key of its controls first.
    qApp->installEventFilter(this);
}

ModuleForm::~ModuleForm() {
    qApp->removeEventFilter(this);
}

bool ModuleForm::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->window() == this)
        return FormKeyDown(static_cast<QKeyEvent *>(event)) ||
               FormKeyPress(static_cast<QKeyEvent *>(event));
    return QDialog::eventFilter(watched, event);
}

bool ModuleForm::FormKeyPress(QKeyEvent *event) {
    if (!isEnter(event))
        return false;
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
}

void ModuleForm::SpeedButton3Click() {
    accept();
}
