#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Graphics/G3d/g3dRenderList.h"

#include <vector>

// The list the GUI draws into: the overlay list, last.
inline constexpr i32 coGuiRenderList = 4;

// Appends the game's five lists: three world lists, an additive screen-space list, the overlay.
void coBuildRenderListConfigs(std::vector<g3dRenderListConfig>& list);
