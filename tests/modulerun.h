#pragma once

#include "flatbutton.h"
#include "moduleform.h"

#include <QTimer>
#include <functional>
#include <memory>

// Opens a module window through the program's own opening sequence (shared queries closed,
// creation handler, modal show), lets `drive` work it as the operator would while it is
// shown, then closes it through its close button unless `drive` did. When this returns the
// window is destroyed, as after a real opening.
template <typename Window, typename... Arguments>
void runModule(const std::function<void(Window &)> &drive, Arguments... arguments) {
    openModule([&]() -> std::unique_ptr<ModuleForm> {
        auto window = std::make_unique<Window>(arguments...);
        Window *opened = window.get();
        QTimer::singleShot(0, opened, [opened, &drive] {
            drive(*opened);
            if (opened->isVisible())
                opened->SpeedButton3->click();
        });
        return window;
    });
}
