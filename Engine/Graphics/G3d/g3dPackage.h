#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Graphics/G3d/g3dRenderList.h"

#include <vector>

// Reference-counted start and stop of the 3D package. The first start starts env, dbg, it, app, an and
// g2d, checks for 3D hardware, fixes the render-list configuration (the default four passes for null;
// later starts' lists are ignored), starts the light manager, the texture manager, the renderer and the
// fragment manager and registers "g3dErrors.tsf". A start that throws leaves nothing started.
void g3dInitialize(const std::vector<g3dRenderListConfig>* lists = nullptr);
void g3dShutdown();
u32 g3dGetInitCount();
// The configuration the first start fixed.
const std::vector<g3dRenderListConfig>& g3dGetRenderListConfig();
