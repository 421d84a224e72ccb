#pragma once
#include "Source/Modes/coEditorInput.h"

// The editor's input in the running game: the input package's virtual joystick and first keyboard, the
// GUI's pointer, screen and mouse-button records, and the frame clock.
class coGameEditorInput : public coEditorInput {
  public:
    bool HasMouse() const override;
    bool IsDown(i32 action) const override;
    bool IsHeld(i32 action) const override;
    bool WasReleased(i32 action) const override;
    void SuppressRelease(i32 action) override;
    void GetMotion(i32& x, i32& y) const override;
    i32 GetAxisZ() const override;
    bool IsKeyDown(i32 key) const override;
    void GetPointer(i32& x, i32& y) const override;
    void GetScreenSize(i32& width, i32& height) const override;
    double GetTime() const override;
    float GetFrameStep() const override;
    bool IsMouseClaimed(i32 record) const override;
    void ClaimMouse(i32 record) override;
    void ReleaseMouse(i32 record) override;
};
