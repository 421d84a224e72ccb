#pragma once
#include "Engine/Platform/Window/plInputSource.h"

#include <array>
#include <mutex>

union SDL_Event;

// The input source on SDL2. The keyboard and the mouse read what SDL's events told since the last read:
// keys by their SDL scan codes turned into DirectInput key numbers, relative motion and wheel notches
// (x 120) summed, buttons. The events are watched as SDL queues them, so the window host still receives
// every one. Game controllers are SDL joysticks, opened once by their device objects. Every device reads
// only while a window of the program has the input focus.
class plSdlInputSource : public plInputSource {
  public:
    plSdlInputSource() = default;
    ~plSdlInputSource() override;
    plSdlInputSource(const plSdlInputSource&) = delete;
    plSdlInputSource& operator=(const plSdlInputSource&) = delete;

    i32 Create() override;
    void Release() override;
    i32 EnumDevices(plInputDeviceKind kind, std::vector<plInputDeviceInstance>& out) override;
    i32 CreateDevice(const plInputDeviceInstance& instance, std::unique_ptr<plInputDevice>& out) override;

    // What the devices read, under the lock.
    bool IsActive();
    void ReadKeyboard(plKeyboardState& state);
    // The movement since the last read, which it empties.
    void TakeMouse(plMouseState& state);
    // Movement from before an acquisition is not the device's to report.
    void ForgetMouseMovement();

  private:
    static int Watch(void* source, SDL_Event* event);
    void Observe(const SDL_Event& event);
    void ClearPressed();

    bool m_created = false;
    std::mutex m_lock;
    bool m_active = false;
    std::array<u8, plKeyboardStateSize> m_keys{};
    plMouseState m_mouse;
};

// DirectInput's number of an SDL mouse button: SDL numbers them 1 left, 2 middle, 3 right, 4 and 5 the
// sides; DirectInput 0 left, 1 right, 2 middle, 3 and 4 the sides. -1 for buttons beyond.
i32 plSdlMouseButton(u8 button);
// The DirectInput key number of an SDL scan code; 0 for a key the engine does not read.
u8 plSdlScancodeToDik(i32 scancode);
// The SDL scan code of a DirectInput key number; 0 (unknown) for a key the engine does not read.
i32 plSdlDikToScancode(u8 dik);
// An SDL hat position as a point-of-view value: hundredths of a degree clockwise from up, or 0xFFFFFFFF
// when centred.
u32 plSdlHatToPov(u8 hat);
