#include "Engine/Platform/Window/plWindowHost.h"

#include "Engine/Platform/Window/plVirtualKeys.h"

namespace {

u32 ControlCharacter(const plMessage& key) {
    const u32 vk = key.value;
    if (key.ctrlDown && vk >= 'A' && vk <= 'Z')
        return vk - 'A' + 1;
    switch (vk) {
    case plVk::Back:
        return key.ctrlDown ? 0x7F : 0x08;
    case plVk::Tab:
        return key.ctrlDown ? 0 : 0x09;
    case plVk::Return:
        return key.ctrlDown ? 0x0A : 0x0D;
    case plVk::Escape:
        return 0x1B;
    default:
        return 0;
    }
}

} // namespace

bool plTranslateKeyToChar(const plMessage& keyDown, plMessage& charMessage) {
    // Alt with Control is AltGr on many layouts: its characters come as text, not as control codes.
    if (keyDown.kind != plMessageKind::KeyDown || keyDown.altDown)
        return false;
    const u32 c = ControlCharacter(keyDown);
    if (c == 0)
        return false;
    charMessage = plMessage{};
    charMessage.kind = plMessageKind::Char;
    charMessage.value = c;
    charMessage.repeat = keyDown.repeat;
    return true;
}

bool plIsCloseKey(const plMessage& message) {
    return message.kind == plMessageKind::SysKeyDown && message.value == plVk::F4 && message.altDown;
}
