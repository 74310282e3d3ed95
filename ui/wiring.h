#pragma once

#include "guard.h"

#include <QObject>

// Connects a control's signal to a window's handler so that the handler runs inside the
// guard. A handler either takes the signal's arguments or none of them:
//
//   wire(SpeedButton8, &FlatButton::clicked, this, &Tfrm_bmsz::SpeedButton8Click);
template <typename Sender, typename Signal, typename Window, typename... HandlerArgs>
void wire(Sender *sender, Signal signal, Window *window, void (Window::*handler)(HandlerArgs...)) {
    QObject::connect(sender, signal, window, [window, handler](const auto &...arguments) {
        guarded([&] {
            if constexpr (sizeof...(HandlerArgs) == 0)
                (window->*handler)();
            else
                (window->*handler)(arguments...);
        });
    });
}
