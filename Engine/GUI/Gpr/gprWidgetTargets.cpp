#include "Engine/GUI/Gpr/gprWidgetTargets.h"

#include <map>

namespace {

std::map<std::string, gprWidgetMaker>& Makers() {
    static std::map<std::string, gprWidgetMaker> makers;
    return makers;
}

} // namespace

void gprSetWidgetMaker(const std::string& kind, gprWidgetMaker maker) {
    if (maker)
        Makers()[kind] = std::move(maker);
    else
        Makers().erase(kind);
}

guiWindow* gprMakeWidget(const std::string& kind) {
    const auto found = Makers().find(kind);
    return found == Makers().end() ? nullptr : found->second();
}
