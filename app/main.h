#pragma once

#include <QDialog>
#include <QList>
#include <functional>
#include <memory>

class FlatButton;
class QLabel;

// Builds a module window afresh; null for a module the program does not offer yet.
using ModuleFactory = std::function<std::unique_ptr<QDialog>()>;

template <typename Window> std::unique_ptr<QDialog> makeModule() {
    return std::make_unique<Window>();
}

// The main window: a borderless picture with a column of seven module buttons and their
// captions. It holds no data; it opens one module window at a time and ends the program.
class Tfrm_main : public QWidget {
    Q_OBJECT
public:
    explicit Tfrm_main(QWidget *parent = nullptr);

    // Opening a module: close the shared queries, build the window, show it modally, destroy it.
    // Each opening starts from the database as it is now; nothing of a window outlives it.
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
