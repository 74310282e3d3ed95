#pragma once

#include <QDialog>
#include <QFont>
#include <QPoint>
#include <QSize>
#include <QString>

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
    // Returns true when the key was taken by the window.
    bool FormKeyPress(QKeyEvent *event);
    void SpeedButton3Click();
};
