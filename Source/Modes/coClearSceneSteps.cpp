#include "Source/Modes/coClearSceneSteps.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {
std::vector<std::pair<const void*, std::function<void()>>>& Steps() {
    static std::vector<std::pair<const void*, std::function<void()>>> steps;
    return steps;
}
} // namespace

void coAddClearSceneStep(const void* owner, std::function<void()> step) {
    Steps().emplace_back(owner, std::move(step));
}

void coRemoveClearSceneSteps(const void* owner) {
    std::erase_if(Steps(), [owner](const auto& entry) { return entry.first == owner; });
}

void coRunClearSceneSteps() {
    for (const auto& entry : Steps())
        entry.second();
}
