#pragma once

#include "progress.h"

#include <exception>
#include <utility>

// Runs an event handler's body so that no exception ever reaches Qt: a failure ends the
// handler where it happened and is shown in the error box; the window stays open and the
// steps already done stay done. An action the operator cancelled ends without a word.
void showFailure(const std::exception &failure);

template <typename Handler> void guarded(Handler &&handler) noexcept {
    try {
        std::forward<Handler>(handler)();
    } catch (const OperationCancelled &) {
    } catch (const std::exception &failure) {
        showFailure(failure);
    }
}
