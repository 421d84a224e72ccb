#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <vector>

// How the renderer draws one of its lists, set before the list is drawn.
struct coRenderListConfig {
    u32 overlay = 0;      // 1: depth testing and writing off
    u32 transformSet = 2; // 2 camera view and projection, 1 identity view, 0 screen space
    u32 blend = 0;        // 0 source alpha / inverse source alpha, 1 additive
    u8 fog = 1;           // fog applies when the renderer has it on

    bool operator==(const coRenderListConfig&) const = default;
};

// The list the GUI draws into: the overlay list, last.
inline constexpr i32 coGuiRenderList = 4;

// Appends the game's five lists: three world lists, an additive screen-space list, the overlay.
void coBuildRenderListConfigs(std::vector<coRenderListConfig>& list);
