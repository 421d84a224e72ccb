#include "Engine/Platform/Sdl/plSdlInputSource.h"

#include "Engine/Core/Env/envUtf.h"
#include "Engine/Platform/Window/plDirectInputKeys.h"

#include <SDL.h>

#include <algorithm>
#include <utility>

namespace {

// SDL's scan codes and DirectInput's key numbers both name keys by their place on the keyboard.
constexpr std::pair<SDL_Scancode, u8> kScancodeKeys[] = {
    {SDL_SCANCODE_A, plDik::A},
    {SDL_SCANCODE_B, plDik::B},
    {SDL_SCANCODE_C, plDik::C},
    {SDL_SCANCODE_D, plDik::D},
    {SDL_SCANCODE_E, plDik::E},
    {SDL_SCANCODE_F, plDik::F},
    {SDL_SCANCODE_G, plDik::G},
    {SDL_SCANCODE_H, plDik::H},
    {SDL_SCANCODE_I, plDik::I},
    {SDL_SCANCODE_J, plDik::J},
    {SDL_SCANCODE_K, plDik::K},
    {SDL_SCANCODE_L, plDik::L},
    {SDL_SCANCODE_M, plDik::M},
    {SDL_SCANCODE_N, plDik::N},
    {SDL_SCANCODE_O, plDik::O},
    {SDL_SCANCODE_P, plDik::P},
    {SDL_SCANCODE_Q, plDik::Q},
    {SDL_SCANCODE_R, plDik::R},
    {SDL_SCANCODE_S, plDik::S},
    {SDL_SCANCODE_T, plDik::T},
    {SDL_SCANCODE_U, plDik::U},
    {SDL_SCANCODE_V, plDik::V},
    {SDL_SCANCODE_W, plDik::W},
    {SDL_SCANCODE_X, plDik::X},
    {SDL_SCANCODE_Y, plDik::Y},
    {SDL_SCANCODE_Z, plDik::Z},
    {SDL_SCANCODE_1, plDik::D1},
    {SDL_SCANCODE_2, plDik::D2},
    {SDL_SCANCODE_3, plDik::D3},
    {SDL_SCANCODE_4, plDik::D4},
    {SDL_SCANCODE_5, plDik::D5},
    {SDL_SCANCODE_6, plDik::D6},
    {SDL_SCANCODE_7, plDik::D7},
    {SDL_SCANCODE_8, plDik::D8},
    {SDL_SCANCODE_9, plDik::D9},
    {SDL_SCANCODE_0, plDik::D0},
    {SDL_SCANCODE_RETURN, plDik::Return},
    {SDL_SCANCODE_ESCAPE, plDik::Escape},
    {SDL_SCANCODE_BACKSPACE, plDik::Back},
    {SDL_SCANCODE_TAB, plDik::Tab},
    {SDL_SCANCODE_SPACE, plDik::Space},
    {SDL_SCANCODE_MINUS, plDik::Minus},
    {SDL_SCANCODE_EQUALS, plDik::Equals},
    {SDL_SCANCODE_LEFTBRACKET, plDik::LBracket},
    {SDL_SCANCODE_RIGHTBRACKET, plDik::RBracket},
    {SDL_SCANCODE_BACKSLASH, plDik::Backslash},
    {SDL_SCANCODE_NONUSHASH, plDik::Backslash},
    {SDL_SCANCODE_SEMICOLON, plDik::Semicolon},
    {SDL_SCANCODE_APOSTROPHE, plDik::Apostrophe},
    {SDL_SCANCODE_GRAVE, plDik::Grave},
    {SDL_SCANCODE_COMMA, plDik::Comma},
    {SDL_SCANCODE_PERIOD, plDik::Period},
    {SDL_SCANCODE_SLASH, plDik::Slash},
    {SDL_SCANCODE_CAPSLOCK, plDik::Capital},
    {SDL_SCANCODE_F1, plDik::F1},
    {SDL_SCANCODE_F2, plDik::F2},
    {SDL_SCANCODE_F3, plDik::F3},
    {SDL_SCANCODE_F4, plDik::F4},
    {SDL_SCANCODE_F5, plDik::F5},
    {SDL_SCANCODE_F6, plDik::F6},
    {SDL_SCANCODE_F7, plDik::F7},
    {SDL_SCANCODE_F8, plDik::F8},
    {SDL_SCANCODE_F9, plDik::F9},
    {SDL_SCANCODE_F10, plDik::F10},
    {SDL_SCANCODE_F11, plDik::F11},
    {SDL_SCANCODE_F12, plDik::F12},
    {SDL_SCANCODE_PRINTSCREEN, plDik::SysRq},
    {SDL_SCANCODE_SCROLLLOCK, plDik::Scroll},
    {SDL_SCANCODE_PAUSE, plDik::Pause},
    {SDL_SCANCODE_INSERT, plDik::Insert},
    {SDL_SCANCODE_HOME, plDik::Home},
    {SDL_SCANCODE_PAGEUP, plDik::Prior},
    {SDL_SCANCODE_DELETE, plDik::Delete},
    {SDL_SCANCODE_END, plDik::End},
    {SDL_SCANCODE_PAGEDOWN, plDik::Next},
    {SDL_SCANCODE_RIGHT, plDik::Right},
    {SDL_SCANCODE_LEFT, plDik::Left},
    {SDL_SCANCODE_DOWN, plDik::Down},
    {SDL_SCANCODE_UP, plDik::Up},
    {SDL_SCANCODE_NUMLOCKCLEAR, plDik::NumLock},
    {SDL_SCANCODE_KP_DIVIDE, plDik::Divide},
    {SDL_SCANCODE_KP_MULTIPLY, plDik::Multiply},
    {SDL_SCANCODE_KP_MINUS, plDik::Subtract},
    {SDL_SCANCODE_KP_PLUS, plDik::Add},
    {SDL_SCANCODE_KP_ENTER, plDik::NumpadEnter},
    {SDL_SCANCODE_KP_1, plDik::Numpad1},
    {SDL_SCANCODE_KP_2, plDik::Numpad2},
    {SDL_SCANCODE_KP_3, plDik::Numpad3},
    {SDL_SCANCODE_KP_4, plDik::Numpad4},
    {SDL_SCANCODE_KP_5, plDik::Numpad5},
    {SDL_SCANCODE_KP_6, plDik::Numpad6},
    {SDL_SCANCODE_KP_7, plDik::Numpad7},
    {SDL_SCANCODE_KP_8, plDik::Numpad8},
    {SDL_SCANCODE_KP_9, plDik::Numpad9},
    {SDL_SCANCODE_KP_0, plDik::Numpad0},
    {SDL_SCANCODE_KP_PERIOD, plDik::Decimal},
    {SDL_SCANCODE_LCTRL, plDik::LControl},
    {SDL_SCANCODE_LSHIFT, plDik::LShift},
    {SDL_SCANCODE_LALT, plDik::LMenu},
    {SDL_SCANCODE_LGUI, plDik::LWin},
    {SDL_SCANCODE_RCTRL, plDik::RControl},
    {SDL_SCANCODE_RSHIFT, plDik::RShift},
    {SDL_SCANCODE_RALT, plDik::RMenu},
    {SDL_SCANCODE_RGUI, plDik::RWin},
};

constexpr u8 kDown = 0x80;

// Foreground acquisition over the source's focus; every kind of device shares it.
class plSdlDevice : public plInputDevice {
  public:
    plSdlDevice(plSdlInputSource& source, plInputDeviceKind kind) : m_source(source), m_kind(kind) {}

    i32 SetAxisProperties(const plAxisProperties&) override { return plDi::InvalidParam; }
    i32 SetCooperativeLevel() override { return plDi::Ok; }
    i32 Acquire() override {
        if (!m_source.IsActive())
            return plDi::OtherAppHasPrio;
        if (!m_acquired && m_kind == plInputDeviceKind::Mouse)
            m_source.ForgetMouseMovement();
        m_acquired = true;
        return plDi::Ok;
    }
    i32 Poll() override { return plDi::NoEffect; }

    i32 GetDeviceState(plKeyboardState& state) override {
        if (const i32 result = CheckRead(plInputDeviceKind::Keyboard); result != plDi::Ok)
            return result;
        m_source.ReadKeyboard(state);
        return plDi::Ok;
    }
    i32 GetDeviceState(plMouseState& state) override {
        if (const i32 result = CheckRead(plInputDeviceKind::Mouse); result != plDi::Ok)
            return result;
        m_source.TakeMouse(state);
        return plDi::Ok;
    }
    i32 GetDeviceState(plJoystickState&) override { return plDi::InvalidParam; }

  protected:
    virtual bool IsAttached() { return true; }

    i32 CheckReadable() {
        if (!m_acquired)
            return plDi::NotAcquired;
        if (!m_source.IsActive() || !IsAttached()) {
            m_acquired = false;
            return plDi::InputLost;
        }
        return plDi::Ok;
    }
    i32 CheckRead(plInputDeviceKind kind) { return kind != m_kind ? plDi::InvalidParam : CheckReadable(); }

  private:
    plSdlInputSource& m_source;
    plInputDeviceKind m_kind;
    bool m_acquired = false;
};

// A joystick, open for the device's life.
class plSdlJoystickDevice : public plSdlDevice {
  public:
    plSdlJoystickDevice(plSdlInputSource& source, SDL_Joystick* joystick)
        : plSdlDevice(source, plInputDeviceKind::GameController), m_joystick(joystick) {}
    ~plSdlJoystickDevice() override {
        // Once the joystick system has stopped, SDL has closed every joystick itself.
        if (SDL_WasInit(SDL_INIT_JOYSTICK))
            SDL_JoystickClose(m_joystick);
    }

    i32 SetAxisProperties(const plAxisProperties& properties) override {
        m_axes = properties;
        return plDi::Ok;
    }
    i32 Poll() override {
        if (const i32 result = CheckReadable(); result != plDi::Ok)
            return result;
        SDL_JoystickUpdate();
        return plDi::Ok;
    }
    i32 GetDeviceState(plJoystickState& state) override {
        if (const i32 result = CheckRead(plInputDeviceKind::GameController); result != plDi::Ok)
            return result;
        state = {};
        i32* axes[] = {&state.x, &state.y, &state.z};
        const int axisCount = std::min(SDL_JoystickNumAxes(m_joystick), 3);
        for (int i = 0; i < axisCount; ++i)
            *axes[i] = plScaleAxis(SDL_JoystickGetAxis(m_joystick, i), -32768, 32767, m_axes);
        const int hatCount = std::min(SDL_JoystickNumHats(m_joystick), 4);
        for (int i = 0; i < hatCount; ++i)
            state.pov[i] = plSdlHatToPov(SDL_JoystickGetHat(m_joystick, i));
        const int buttonCount = std::min(SDL_JoystickNumButtons(m_joystick), 128);
        for (int i = 0; i < buttonCount; ++i)
            state.buttons[i] = SDL_JoystickGetButton(m_joystick, i) ? kDown : 0;
        return plDi::Ok;
    }

  protected:
    bool IsAttached() override { return SDL_JoystickGetAttached(m_joystick) == SDL_TRUE; }

  private:
    SDL_Joystick* m_joystick;
    plAxisProperties m_axes;
};

} // namespace

i32 plSdlMouseButton(u8 button) {
    switch (button) {
    case SDL_BUTTON_LEFT:
        return 0;
    case SDL_BUTTON_RIGHT:
        return 1;
    case SDL_BUTTON_MIDDLE:
        return 2;
    case SDL_BUTTON_X1:
        return 3;
    case SDL_BUTTON_X2:
        return 4;
    default:
        return -1;
    }
}

u8 plSdlScancodeToDik(i32 scancode) {
    for (const auto& [sdl, dik] : kScancodeKeys)
        if (sdl == scancode)
            return dik;
    return 0;
}

i32 plSdlDikToScancode(u8 dik) {
    for (const auto& [sdl, key] : kScancodeKeys)
        if (key == dik)
            return sdl;
    return SDL_SCANCODE_UNKNOWN;
}

u32 plSdlHatToPov(u8 hat) {
    switch (hat) {
    case SDL_HAT_UP:
        return 0;
    case SDL_HAT_RIGHTUP:
        return 4500;
    case SDL_HAT_RIGHT:
        return 9000;
    case SDL_HAT_RIGHTDOWN:
        return 13500;
    case SDL_HAT_DOWN:
        return 18000;
    case SDL_HAT_LEFTDOWN:
        return 22500;
    case SDL_HAT_LEFT:
        return 27000;
    case SDL_HAT_LEFTUP:
        return 31500;
    default:
        return 0xFFFFFFFF;
    }
}

plSdlInputSource::~plSdlInputSource() {
    Release();
}

i32 plSdlInputSource::Create() {
    if (m_created)
        return plDi::Ok;
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0)
        return plDi::Generic;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_active = SDL_GetKeyboardFocus() != nullptr;
        m_keys.fill(0);
        m_mouse = {};
    }
    SDL_AddEventWatch(&plSdlInputSource::Watch, this);
    m_created = true;
    return plDi::Ok;
}

void plSdlInputSource::Release() {
    if (!m_created)
        return;
    SDL_DelEventWatch(&plSdlInputSource::Watch, this);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    m_created = false;
    // The last SDL user releases SDL's own state too.
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
        SDL_Quit();
}

i32 plSdlInputSource::EnumDevices(plInputDeviceKind kind, std::vector<plInputDeviceInstance>& out) {
    if (!m_created)
        return plDi::Generic;
    switch (kind) {
    case plInputDeviceKind::Keyboard:
        out.push_back({kind, 0, u"Keyboard"});
        break;
    case plInputDeviceKind::Mouse:
        out.push_back({kind, 0, u"Mouse"});
        break;
    case plInputDeviceKind::GameController:
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            const char* name = SDL_JoystickNameForIndex(i);
            out.push_back({kind, SDL_JoystickGetDeviceInstanceID(i), envUtf8ToUtf16(name ? name : "")});
        }
        break;
    }
    return plDi::Ok;
}

i32 plSdlInputSource::CreateDevice(const plInputDeviceInstance& instance,
                                   std::unique_ptr<plInputDevice>& out) {
    if (!m_created)
        return plDi::Generic;
    if (instance.kind != plInputDeviceKind::GameController) {
        out = std::make_unique<plSdlDevice>(*this, instance.kind);
        return plDi::Ok;
    }
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) != instance.id)
            continue;
        SDL_Joystick* joystick = SDL_JoystickOpen(i);
        if (!joystick)
            break;
        out = std::make_unique<plSdlJoystickDevice>(*this, joystick);
        return plDi::Ok;
    }
    return plDi::DeviceNotRegistered;
}

bool plSdlInputSource::IsActive() {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_active;
}

void plSdlInputSource::ReadKeyboard(plKeyboardState& state) {
    std::lock_guard<std::mutex> guard(m_lock);
    std::copy(m_keys.begin(), m_keys.end(), state.keys);
}

void plSdlInputSource::TakeMouse(plMouseState& state) {
    std::lock_guard<std::mutex> guard(m_lock);
    state = m_mouse;
    m_mouse.x = m_mouse.y = m_mouse.z = 0;
}

void plSdlInputSource::ForgetMouseMovement() {
    std::lock_guard<std::mutex> guard(m_lock);
    m_mouse.x = m_mouse.y = m_mouse.z = 0;
}

// SDL calls the watch from whichever thread queues an event; nothing may leave through its C frames.
int plSdlInputSource::Watch(void* source, SDL_Event* event) {
    try {
        static_cast<plSdlInputSource*>(source)->Observe(*event);
    } catch (...) {
        // A refused lock loses this one event; the next press or motion reads again.
    }
    return 1;
}

void plSdlInputSource::ClearPressed() {
    m_keys.fill(0);
    std::fill(std::begin(m_mouse.buttons), std::end(m_mouse.buttons), 0);
}

void plSdlInputSource::Observe(const SDL_Event& event) {
    std::lock_guard<std::mutex> guard(m_lock);
    switch (event.type) {
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
            m_active = true;
        } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            // Keys and buttons let go in another window never come back up here.
            m_active = false;
            ClearPressed();
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (const u8 dik = plSdlScancodeToDik(event.key.keysym.scancode); dik != 0)
            m_keys[dik] = event.type == SDL_KEYDOWN && m_active ? kDown : 0;
        break;
    case SDL_MOUSEMOTION:
        if (m_active) {
            m_mouse.x += event.motion.xrel;
            m_mouse.y += event.motion.yrel;
        }
        break;
    case SDL_MOUSEWHEEL:
        if (m_active) {
            const i32 notches =
                event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
            m_mouse.z += notches * 120;
        }
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (const i32 index = plSdlMouseButton(event.button.button); index >= 0)
            m_mouse.buttons[index] = event.type == SDL_MOUSEBUTTONDOWN && m_active ? kDown : 0;
        break;
    default:
        break;
    }
}
