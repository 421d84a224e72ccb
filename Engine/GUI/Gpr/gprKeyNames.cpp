#include "Engine/GUI/Gpr/gprKeyNames.h"

#include <array>
#include <utility>

namespace {

// Ids are the positions in this list.
constexpr std::array<const char*, 37> kKeyNames{"KeyUndefined",
                                                "KeySpace",
                                                "KeyEscape",
                                                "KeyBackspace",
                                                "KeyLeftShift",
                                                "KeyRightShift",
                                                "KeyCapsLock",
                                                "KeyNumLock",
                                                "KeyLeftCtrl",
                                                "KeyRightCtrl",
                                                "KeyLeftAlt",
                                                "KeyRightAlt",
                                                "KeyTab",
                                                "KeyInsert",
                                                "KeyDelete",
                                                "KeyHome",
                                                "KeyEnd",
                                                "KeyPageUp",
                                                "KeyPageDown",
                                                "KeyUpArrow",
                                                "KeyDownArrow",
                                                "KeyLeftArrow",
                                                "KeyRightArrow",
                                                "KeyF1",
                                                "KeyF2",
                                                "KeyF3",
                                                "KeyF4",
                                                "KeyF5",
                                                "KeyF6",
                                                "KeyF7",
                                                "KeyF8",
                                                "KeyF9",
                                                "KeyF10",
                                                "KeyF11",
                                                "KeyF12",
                                                "KeyLanguageModifier1",
                                                "KeyLanguageModifier2"};

constexpr std::array<std::pair<const char*, u32>, 5> kToggleFlags{{{"ToggleOff", 0},
                                                                   {"CapitalLetters", 1},
                                                                   {"NumLock", 2},
                                                                   {"LanguageModifier1", 4},
                                                                   {"LanguageModifier2", 8}}};

} // namespace

u32 gprKeyIdOfName(const std::string& name) {
    for (size_t id = 0; id < kKeyNames.size(); ++id)
        if (name == kKeyNames[id])
            return static_cast<u32>(id);
    return 0;
}

u32 gprToggleFlagOfName(const std::string& name) {
    for (const auto& [flagName, flag] : kToggleFlags)
        if (name == flagName)
            return flag;
    return 0;
}
