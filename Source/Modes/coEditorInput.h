#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Source/Settings/coDefaultInput.h"

// The input the editor and its cameras read each frame: the actions of the virtual joystick, keys read
// directly, the pointer, and the GUI's mouse-button records that arbitrate a click or drag between a
// window and the 3D view. The application installs one over the input package and the window manager;
// tests install a scripted one.
class coEditorInput {
  public:
    virtual ~coEditorInput() = default;

    virtual bool HasMouse() const = 0;
    // Down at this poll; held = down at this and the previous poll; released at this poll.
    virtual bool IsDown(i32 action) const = 0;
    virtual bool IsHeld(i32 action) const = 0;
    virtual bool WasReleased(i32 action) const = 0;
    // Later queries of the action's release at this poll report none.
    virtual void SuppressRelease(i32 /*action*/) {}
    // The pointer's motion during this poll, in pixels (action 0).
    virtual void GetMotion(i32& x, i32& y) const = 0;
    // The third axis of the pointer (the wheel and controller Z), in steps of this poll.
    virtual i32 GetAxisZ() const = 0;
    // A key read from the keyboard by its engine key code.
    virtual bool IsKeyDown(i32 key) const = 0;

    virtual void GetPointer(i32& x, i32& y) const = 0;
    virtual void GetScreenSize(i32& width, i32& height) const = 0;
    // Application time, and the last frame's step, in seconds.
    virtual double GetTime() const = 0;
    virtual float GetFrameStep() const = 0;

    // GUI mouse records (1111 left, 1112 right, 1113 the wheel): whether a window claimed it this frame;
    // marking it handled by the view; giving it a click of no window when the view's drag ends.
    virtual bool IsMouseClaimed(i32 record) const = 0;
    virtual void ClaimMouse(i32 record) = 0;
    virtual void ReleaseMouse(i32 record) = 0;
};

// Not owned; the editor and its cameras read nothing while none is installed.
void coSetEditorInput(coEditorInput* input);
coEditorInput* coGetEditorInput();
