#include "Engine/App/In/inKeyboard.h"

#include "Engine/App/In/private/inDirectInputDevice.h"

#include <algorithm>
#include <iterator>

inKeyboard::inKeyboard(const plInputDeviceInstance& instance)
    : m_device(std::make_unique<inKeyboardDevice>(instance)) {}

inKeyboard::~inKeyboard() = default;

void inKeyboard::Poll() {
    if (!IsEnabled())
        return;
    std::copy(std::begin(m_current), std::end(m_current), m_previous);
    std::fill(std::begin(m_current), std::end(m_current), 0);
    plKeyboardState state;
    if (!m_device->Read(state))
        return;
    for (u32 scanCode = 0; scanCode < plKeyboardStateSize; ++scanCode) {
        const i32 code = inKeyCodeOfScanCode(static_cast<u8>(scanCode));
        if (code >= 0)
            m_current[code] = (state.keys[scanCode] & 0x80) != 0 ? 1 : 0;
    }
}

bool inKeyboard::IsKeyDown(i32 code) const {
    return Query(inQuery::Down, m_previous, m_current, kKeyCount, code);
}

bool inKeyboard::IsKeyHeld(i32 code) const {
    return Query(inQuery::Held, m_previous, m_current, kKeyCount, code);
}

bool inKeyboard::WasKeyReleased(i32 code) const {
    return Query(inQuery::Released, m_previous, m_current, kKeyCount, code);
}
