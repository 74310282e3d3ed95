#pragma once

#include <QDialog>
#include <QFont>
#include <QPoint>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>

class Bevel;
class FlatButton;
class QLabel;

// What one module window's frame looks like; everything else about the frame is shared.
struct FrameLayout {
    enum class Bevel2 { None, Rule, Band };

    QString caption;
    QSize clientSize;
    QString title;
    QPoint titlePosition;
    QPoint closePosition;
    QFont baseFont;
    Bevel2 bevel2 = Bevel2::Rule;
    int bevel2Height = 2;
    int closeWidth = 20;
};

// The frame every module window shares: borderless, centred, modal, light grey, an etched
// border, the title, the close button, and Enter moving on to the next field. The window sees
// every key before its controls do, so Enter never reaches a control and never presses a
// default button.
class ModuleForm : public QDialog {
    Q_OBJECT
public:
    explicit ModuleForm(const FrameLayout &layout, QWidget *parent = nullptr);
    ~ModuleForm() override;

    // The window's creation handler: reads what the window needs from the database. It runs
    // once, after the controls exist and before the window is shown.
    virtual void FormCreate() {}
    // Runs when the window is first shown; windows call it again to start afresh (after a
    // save, say).
    virtual void FormActivate() {}
    // Runs once as the window closes, before the modal show returns.
    virtual void FormClose() {}

    void done(int result) override;

    Bevel *Bevel1 = nullptr;
    Bevel *Bevel2 = nullptr; // none in windows without a rule under the title
    QLabel *Label8 = nullptr;
    FlatButton *SpeedButton3 = nullptr;

protected:
    // Every key pressed in the window, before the focused control sees it. A window that acts
    // on a key wherever the focus is (a function key, say) takes it here and returns true.
    virtual bool FormKeyDown(QKeyEvent *) { return false; }

    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // Whether `watched` is the widget a key press is delivered to first; Qt hands a key the
    // focused control leaves alone on to its parents, and the window must see it only once.
    bool receivesKeysFirst(const QObject *watched) const;
    // Returns true when the key was taken by the window.
    bool FormKeyPress(QKeyEvent *event);
    void SpeedButton3Click();

    bool m_activated = false;
};

// Builds a module window afresh.
using ModuleFactory = std::function<std::unique_ptr<ModuleForm>()>;

// Opening a module: close the shared queries, build the window and run its creation handler,
// show it modally, destroy it. Each opening starts from the database as it is now; nothing of
// a window outlives it. A failed creation handler is reported and the window is shown all the
// same, with what it managed to read.
void openModule(const ModuleFactory &create);
