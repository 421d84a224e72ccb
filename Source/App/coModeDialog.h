#pragma once
#include "Source/Modes/coModeStack.h"
#include "Source/Screens/coDialogFrameFunction.h"
#include "Source/Screens/coRunDialog.h"

#include <utility>

// A dialog of the current mode (the builder's questions and name), made from `args` and run modally by
// `run` with the mode's frame start behind it, over the world: its answer, or 2 (Cancel) when its screen
// cannot be made.
template <class Dialog, class Run, class... Args>
i32 coRunModeDialog(const char* name, Run run, Args&&... args) {
    return coRunNewDialog<Dialog>(
        name, 2,
        [&run](Dialog& dialog) {
            coDialogFrameFunction frame(coCurrentMode()->ModalFrameStart(), false);
            dialog.SetThinkFunction(&frame);
            return run(dialog);
        },
        std::forward<Args>(args)...);
}
