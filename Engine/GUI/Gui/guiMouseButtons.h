#pragma once
#include "Engine/Core/Env/envTypes.h"

class guiWindow;

// Which window took the mouse buttons this frame, and the last two clicks of each, for double clicks.
// The buttons are the input actions 1111 (main), 1112 and 1113; other ids have no slot, read as
// unclaimed and never double-click. Click windows are not owned: a window forgets itself on deletion.
class guiMouseButtons {
  public:
    static constexpr i32 kMain = 1111;
    static constexpr i32 kFirst = 1111;
    static constexpr i32 kCount = 3;

    // Button events of one frame, from the input bindings' virtual joystick.
    enum Event : i32 { None = 0, Down = 1, Held = 2, Released = 3 };

    static void ClearClaims();
    static void Claim(i32 id);
    // A press is being held by a widget or a camera drag, until the next recorded click of the id.
    static void SetHandled(i32 id);
    static bool IsUnclaimed(i32 id);
    // The window may be null (a release outside every widget); the time is the application time.
    static void RecordClick(i32 id, guiWindow* window);
    // Held before down before released; None before the input package has started.
    static i32 GetButtonEvent(i32 id);
    // The window clicked twice within 0.75 s, never null clicks; otherwise null.
    static guiWindow* GetDoubleClick(i32 id);
    // The windows of the last two clicks when both hit a window within 0.75 s, for widgets whose parts
    // move between the clicks; false otherwise.
    static bool GetClickPair(i32 id, guiWindow*& first, guiWindow*& second);
    static void ResetDoubleClick(i32 id);
    // Every click slot that holds the window becomes null.
    static void Forget(const guiWindow* window);
};
