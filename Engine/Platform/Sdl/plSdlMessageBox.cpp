#include "Engine/Platform/Sdl/plSdlMessageBox.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envUtf.h"
#include "Engine/Platform/Sdl/plSdlDrawnBox.h"
#include "Engine/Platform/Sdl/plSdlWindowHost.h"

#include <SDL.h>

#include <cstdlib>
#include <iterator>
#include <vector>

namespace {

struct ButtonSet {
    u32 count;
    i32 ids[3];
};

// The buttons of each MessageBox button type, left to right; the first is the default.
constexpr ButtonSet kButtonSets[] = {
    {1, {plId::Ok}},
    {2, {plId::Ok, plId::Cancel}},
    {3, {plId::Abort, plId::Retry, plId::Ignore}},
    {3, {plId::Yes, plId::No, plId::Cancel}},
    {2, {plId::Yes, plId::No}},
    {2, {plId::Retry, plId::Cancel}},
};

const char* ButtonLabel(i32 id) {
    switch (id) {
    case plId::Ok:
        return "OK";
    case plId::Cancel:
        return "Cancel";
    case plId::Abort:
        return "Abort";
    case plId::Retry:
        return "Retry";
    case plId::Ignore:
        return "Ignore";
    case plId::Yes:
        return "Yes";
    default:
        return "No";
    }
}

Uint32 IconFlags(u32 type) {
    switch (type & plMb::IconMask) {
    case plMb::IconError:
        return SDL_MESSAGEBOX_ERROR;
    case plMb::IconWarning:
        return SDL_MESSAGEBOX_WARNING;
    default:
        return SDL_MESSAGEBOX_INFORMATION;
    }
}

// The answer of a box closed without a button, as MessageBox gives it: Cancel where there is one,
// OK for a box with only OK, else none.
i32 CloseAnswer(const ButtonSet& set) {
    for (u32 i = 0; i < set.count; ++i)
        if (set.ids[i] == plId::Cancel)
            return plId::Cancel;
    return set.count == 1 ? plId::Ok : 0;
}

bool HasDisplay() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

} // namespace

i32 plSdlMessageBox::Show(const std::u16string& text, const std::u16string& caption, u32 type) {
    const u32 buttonType = type & plMb::ButtonMask;
    const ButtonSet& set = buttonType < std::size(kButtonSets) ? kButtonSets[buttonType] : kButtonSets[0];
    const std::string text8 = envUtf16ToUtf8(text);
    const std::string caption8 = envUtf16ToUtf8(caption);

    if (HasDisplay()) {
        SDL_MessageBoxButtonData buttons[3] = {};
        for (u32 i = 0; i < set.count; ++i) {
            buttons[i].buttonid = set.ids[i];
            buttons[i].text = ButtonLabel(set.ids[i]);
            if (set.ids[i] == CloseAnswer(set))
                buttons[i].flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        }
        buttons[0].flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        SDL_MessageBoxData data{};
        data.flags = IconFlags(type);
        // A box of the start, before the window is shown, stands on its own.
        data.window = m_host.IsShown() ? m_host.GetSdlWindow() : nullptr;
        data.title = caption8.c_str();
        data.message = text8.c_str();
        data.numbuttons = static_cast<int>(set.count);
        data.buttons = buttons;
        int pressed = 0;
        if (SDL_ShowMessageBox(&data, &pressed) == 0)
            return pressed < 0 ? CloseAnswer(set) : pressed;
        DBG_WARNING("SDL's message box cannot show (%s); the box is drawn instead", SDL_GetError());
        std::vector<plBoxButton> labelled;
        for (u32 i = 0; i < set.count; ++i)
            labelled.push_back({set.ids[i], envUtf8ToUtf16(ButtonLabel(set.ids[i]))});
        const plMessageBoxPicture picture(m_fonts, caption, text, labelled);
        if (!picture.IsEmpty()) {
            const i32 answer =
                plShowDrawnBox(picture, caption8, m_host.GetSdlWindow(), set.ids[0], CloseAnswer(set));
            if (answer >= 0)
                return answer;
        }
    }
    return plStderrMessageBox().Show(text, caption, type);
}
