#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/GUI/Gui/guiWindow.h"

#include <memory>

class gnfView;

// A control that a script declares inside a composite widget, with the edge it sits on, as read before
// the widget takes it.
struct xuiAssociatedControl {
    virtual ~xuiAssociatedControl() = default;

    // 0 left, 1 right, 2 top, 3 bottom, 4 not laid out.
    i32 position = 4;
    std::unique_ptr<guiWindow> control;
    // The control as a view; null when it is none.
    gnfView* view = nullptr;
};

// The same with the step the control carries.
struct xuiAssociatedControlDeltaFloat : xuiAssociatedControl {
    f32 delta = 0.0f;
};
