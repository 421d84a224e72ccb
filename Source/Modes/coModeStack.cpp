#include "Source/Modes/coModeStack.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Source/Modes/coModeExitX.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

namespace {

std::array<coMode*, coModeTableSize> g_table{};

struct {
    std::vector<coMode*> entries;
    i32 current = -1;
    bool newlyCurrent = false;
    bool inThink = false;
    bool inEnter = false;
} g_stack;

// Sets one of the flags for a call and clears it however the call ends.
struct FlagScope {
    explicit FlagScope(bool& flag) : flag(flag) { flag = true; }
    ~FlagScope() { flag = false; }
    bool& flag;
};

} // namespace

coMode* coGetMode(i32 id) {
    return g_table[static_cast<size_t>(id)];
}

void coSetMode(i32 id, coMode* mode) {
    g_table[static_cast<size_t>(id)] = mode;
}

void coClearModeTable() {
    g_table.fill(nullptr);
}

bool coIsTableMode(const coMode* mode) {
    for (const coMode* entry : g_table)
        if (entry == mode)
            return true;
    return false;
}

void coModePush(coMode* mode) {
    if (!mode) {
        DBG_WARNING("a mode push without a mode is ignored");
        return;
    }
    g_stack.entries.push_back(mode);
    if (!g_stack.inThink) {
        g_stack.current = static_cast<i32>(g_stack.entries.size()) - 1;
        g_stack.newlyCurrent = true;
    }
}

coMode* coCurrentMode() {
    if (g_stack.current < 0 || g_stack.current >= coModeStackSize())
        return nullptr;
    return g_stack.entries[static_cast<size_t>(g_stack.current)];
}

bool coModeStackIsEmpty() {
    return g_stack.entries.empty();
}

bool coModeStackIsPrevious(i32 id) {
    const i32 below = g_stack.current - 1;
    return below >= 0 && below < coModeStackSize() &&
           g_stack.entries[static_cast<size_t>(below)] == coGetMode(id);
}

coMode* coModeStackBelow(const coMode* mode) {
    const auto& entries = g_stack.entries;
    const auto found = std::find(entries.rbegin(), entries.rend(), mode);
    return found == entries.rend() || std::next(found) == entries.rend() ? nullptr : *std::next(found);
}

void coModeStackKeepCurrent() {
    coMode* current = coCurrentMode();
    g_stack.entries.clear();
    if (current)
        g_stack.entries.push_back(current);
    g_stack.current = current ? 0 : -1;
}

void coModeStackLeaveAll() {
    // A mode that has not been entered yet has nothing to leave.
    if (coMode* mode = coCurrentMode(); mode && !g_stack.newlyCurrent)
        mode->Exit();
    coModeStackClear();
}

void coModeStackClear() {
    g_stack.entries.clear();
    g_stack.current = -1;
    g_stack.newlyCurrent = false;
}

i32 coModeStackCurrentIndex() {
    return g_stack.current;
}

bool coModeStackIsNewlyCurrent() {
    return g_stack.newlyCurrent;
}

i32 coModeStackSize() {
    return static_cast<i32>(g_stack.entries.size());
}

bool coModeStackCatchesExit() {
    return g_stack.inEnter || g_stack.inThink;
}

void coModeManagerUpdate() {
    coMode* mode = coCurrentMode();
    if (!mode)
        return;
    try {
        if (g_stack.newlyCurrent) {
            // A question that Enter asks (the career's medal) leaves the game as one asked in Think does.
            FlagScope scope(g_stack.inEnter);
            mode->Enter();
            g_stack.newlyCurrent = false;
        }
        FlagScope scope(g_stack.inThink);
        mode->Think();
    } catch (const coModeExitX&) {
        // A mode left in its Enter was entered far enough to be left.
        g_stack.newlyCurrent = false;
        coModeStackLeaveAll();
        return;
    }

    const auto index = static_cast<size_t>(g_stack.current);
    const bool pushed = index + 1 < g_stack.entries.size();
    i32 result = mode->GetResult();
    if (result == coMode::Switch && !pushed && index == 0) {
        // Nothing stands below the first entry to switch to.
        DBG_WARNING("mode result 1 without a push from the first entry is ignored");
        mode->SetResult(coMode::Stay);
        return;
    }
    if (result == coMode::LeaveAndDelete && coIsTableMode(mode))
        result = coMode::Leave; // The application owns the table's modes and deletes them at the end.

    switch (result) {
    case coMode::Switch:
        g_stack.newlyCurrent = true;
        g_stack.current = pushed ? coModeStackSize() - 1 : g_stack.current - 1;
        mode->Exit();
        break;
    case coMode::Leave:
    case coMode::LeaveAndDelete:
        g_stack.newlyCurrent = true;
        g_stack.entries.erase(g_stack.entries.begin() + static_cast<std::ptrdiff_t>(index));
        g_stack.current = pushed ? coModeStackSize() - 1 : g_stack.current - 1;
        mode->Exit();
        if (result == coMode::LeaveAndDelete)
            delete mode;
        break;
    default:
        break;
    }
}
