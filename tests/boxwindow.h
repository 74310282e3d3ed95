#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

// Shows an input box in a window of its own with one more field after it, so that a Tab
// enters or leaves the box. The focus starts on that other field. Null if the window could
// not be shown.
inline std::unique_ptr<QWidget> showInWindow(QWidget *box, QLineEdit *&next) {
    auto window = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(window.get());
    layout->addWidget(box);
    layout->addWidget(next = new QLineEdit);
    window->show();
    if (!QTest::qWaitForWindowActive(window.get()))
        return nullptr;
    next->setFocus();
    return window;
}

// The operator looks at another window and comes back: `whileAway` runs while the other
// window is active. False if either switch of windows did not happen.
template <typename WhileAway> bool visitAnotherWindow(QWidget *window, WhileAway whileAway) {
    QWidget other;
    other.show();
    if (!QTest::qWaitForWindowActive(&other))
        return false;
    whileAway();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

// Moves the focus on, as the operator's Tab does.
inline void tab() {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
}
