#pragma once
#include "Engine/App/App/appWindow.h"
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
            coDialogFrameFunction frame(
                [&dialog, start = coCurrentMode()->ModalFrameStart()] {
                    start();
                    // Opened outside the mode's Enter and Think (a key's char event), the run has nobody to
                    // leave the game for it: it ends as cancelled, and the game leaves at its next frame.
                    if (const appWindow* window = appGetWindow(); window && window->IsQuitRequested())
                        dialog.EndDialog(false);
                },
                false);
            dialog.SetThinkFunction(&frame);
            return run(dialog);
        },
        std::forward<Args>(args)...);
}
