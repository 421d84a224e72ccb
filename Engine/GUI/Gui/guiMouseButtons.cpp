#include "Engine/GUI/Gui/guiMouseButtons.h"

#include "Engine/App/App/appClock.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inVirtualJoystick.h"

#include <array>

namespace {

struct Slot {
    bool claimed = false;
    bool handled = false;
    guiWindow* lastWindow = nullptr;
    float lastTime = 0.0f;
    guiWindow* previousWindow = nullptr;
    float previousTime = 0.0f;
};

constexpr float kDoubleClickSeconds = 0.75f;

std::array<Slot, guiMouseButtons::kCount> g_slots;

Slot* Find(i32 id) {
    const i32 index = id - guiMouseButtons::kFirst;
    return index >= 0 && index < guiMouseButtons::kCount ? &g_slots[static_cast<size_t>(index)] : nullptr;
}

} // namespace

void guiMouseButtons::ClearClaims() {
    for (Slot& slot : g_slots)
        slot.claimed = false;
}

void guiMouseButtons::Claim(i32 id) {
    if (Slot* slot = Find(id))
        slot->claimed = true;
}

void guiMouseButtons::SetHandled(i32 id) {
    if (Slot* slot = Find(id))
        slot->handled = true;
}

bool guiMouseButtons::IsUnclaimed(i32 id) {
    const Slot* slot = Find(id);
    return !slot || (!slot->claimed && !slot->handled);
}

void guiMouseButtons::RecordClick(i32 id, guiWindow* window) {
    Slot* slot = Find(id);
    if (!slot)
        return;
    slot->previousWindow = slot->lastWindow;
    slot->previousTime = slot->lastTime;
    slot->handled = false;
    slot->lastWindow = window;
    slot->lastTime = static_cast<float>(appGetTime());
}

i32 guiMouseButtons::GetButtonEvent(i32 id) {
    const inVirtualJoystick* joystick = inDeviceManager::GetVirtualJoystick();
    if (!joystick)
        return None;
    if (joystick->IsButtonHeld(id))
        return Held;
    if (joystick->IsButtonDown(id))
        return Down;
    return joystick->WasButtonReleased(id) ? Released : None;
}

guiWindow* guiMouseButtons::GetDoubleClick(i32 id) {
    guiWindow *first = nullptr, *second = nullptr;
    return GetClickPair(id, first, second) && first == second ? second : nullptr;
}

bool guiMouseButtons::GetClickPair(i32 id, guiWindow*& first, guiWindow*& second) {
    const Slot* slot = Find(id);
    if (!slot || !slot->lastWindow || !slot->previousWindow ||
        slot->lastTime - slot->previousTime > kDoubleClickSeconds)
        return false;
    first = slot->previousWindow;
    second = slot->lastWindow;
    return true;
}

void guiMouseButtons::ResetDoubleClick(i32 id) {
    if (Slot* slot = Find(id)) {
        slot->lastWindow = nullptr;
        slot->previousWindow = nullptr;
        slot->previousTime = 0.0f;
        slot->lastTime = 1.0f;
    }
}

void guiMouseButtons::Forget(const guiWindow* window) {
    for (Slot& slot : g_slots) {
        if (slot.lastWindow == window)
            slot.lastWindow = nullptr;
        if (slot.previousWindow == window)
            slot.previousWindow = nullptr;
    }
}
