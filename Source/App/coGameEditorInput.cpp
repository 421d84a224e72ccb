#include "Source/App/coGameEditorInput.h"

#include "Engine/App/App/appClock.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inKeyboard.h"
#include "Engine/App/In/inVirtualJoystick.h"
#include "Engine/GUI/Gui/guiCursor.h"
#include "Engine/GUI/Gui/guiMouseButtons.h"
#include "Engine/GUI/Gui/guiScreen.h"

#include <cmath>

namespace {
// The pointer moves the virtual joystick's first stick.
constexpr i32 kPointerStick = 0;
} // namespace

bool coGameEditorInput::HasMouse() const {
    return inDeviceManager::GetMouseCount() > 0;
}

bool coGameEditorInput::IsDown(i32 action) const {
    const inVirtualJoystick* joystick = inDeviceManager::GetVirtualJoystick();
    return joystick && joystick->IsButtonDown(action);
}

bool coGameEditorInput::IsHeld(i32 action) const {
    const inVirtualJoystick* joystick = inDeviceManager::GetVirtualJoystick();
    return joystick && joystick->IsButtonHeld(action);
}

bool coGameEditorInput::WasReleased(i32 action) const {
    const inVirtualJoystick* joystick = inDeviceManager::GetVirtualJoystick();
    return joystick && joystick->WasButtonReleased(action);
}

void coGameEditorInput::SuppressRelease(i32 action) {
    if (inVirtualJoystick* joystick = inDeviceManager::GetVirtualJoystick())
        joystick->SuppressRelease(action);
}

void coGameEditorInput::GetMotion(i32& x, i32& y) const {
    x = 0;
    y = 0;
    if (const inVirtualJoystick* joystick = inDeviceManager::GetVirtualJoystick())
        joystick->GetAxis2D(kPointerStick, x, y);
}

i32 coGameEditorInput::GetAxisZ() const {
    i32 x = 0;
    i32 y = 0;
    i32 z = 0;
    if (const inVirtualJoystick* joystick = inDeviceManager::GetVirtualJoystick())
        joystick->GetAxis3D(kPointerStick, x, y, z);
    return z;
}

bool coGameEditorInput::IsKeyDown(i32 key) const {
    const inKeyboard* keyboard = inDeviceManager::GetKeyboard(0);
    return keyboard && keyboard->IsKeyDown(key);
}

void coGameEditorInput::GetPointer(i32& x, i32& y) const {
    const maVector2d at = guiCursorMgr::GetPosition();
    x = static_cast<i32>(std::lround(at.x));
    y = static_cast<i32>(std::lround(at.y));
}

void coGameEditorInput::GetScreenSize(i32& width, i32& height) const {
    guiGetScreenSize(width, height);
}

double coGameEditorInput::GetTime() const {
    return appClock::GetTime();
}

float coGameEditorInput::GetFrameStep() const {
    return appClock::GetDeltaTime();
}

bool coGameEditorInput::IsMouseClaimed(i32 record) const {
    return !guiMouseButtons::IsUnclaimed(record);
}

void coGameEditorInput::ClaimMouse(i32 record) {
    guiMouseButtons::SetHandled(record);
}

void coGameEditorInput::ReleaseMouse(i32 record) {
    guiMouseButtons::RecordClick(record, nullptr);
}
