#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>

// The names by which scripts name the on-screen keyboard's keys and toggle flags, matched exactly and
// case-sensitively; any other text is 0 ("KeyUndefined", "ToggleOff"). No key is named for Enter.
u32 gprKeyIdOfName(const std::string& name);
u32 gprToggleFlagOfName(const std::string& name);
