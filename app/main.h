#pragma once

#include <QList>
#include <QWidget>
#include <functional>
#include <memory>

class FlatButton;
class QLabel;

class ModuleForm;

// Builds a module window afresh; null for a module the program does not offer yet.
using ModuleFactory = std::function<std::unique_ptr<ModuleForm>()>;

// The main window: a borderless picture with a column of seven module buttons and their
// captions. It holds no data; it opens one module window at a time and ends the program.
class Tfrm_main : public QWidget {
    Q_OBJECT
public:
    explicit Tfrm_main(QWidget *parent = nullptr);

    // Opening a module: close the shared queries, build the window and run its creation
    // handler, show it modally, destroy it. Each opening starts from the database as it is
    // now; nothing of a window outlives it. A failed creation handler is reported and the
    // window is shown all the same, with what it managed to read.
    void openModule(const ModuleFactory &create);

    FlatButton *SpeedButton3 = nullptr;
    QLabel *Label8 = nullptr;
    QList<QLabel *> captionLabels;
    QList<FlatButton *> moduleButtons;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void l_tcMouseEnter(QLabel *caption);
    void l_tcMouseLeave(QLabel *caption);
    void SpeedButton3Click();
};
