#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maVector.h"

#include <list>
#include <memory>
#include <vector>

class g3dDynamicModel;
class g3dMaterial;
class g3dModel;
class g3dSpriteGroupModel;
class g3dStaticModel;
class g3dWorldStaticModel;

// How one drawing pass of the frame draws its list.
struct g3dRenderListConfig {
    u32 depthMode = 0;     // 0: depth test and writes on; 1: both off
    u32 transformMode = 2; // 0: identity view and projection; 1: identity view, camera projection;
                           // 2: camera view and projection
    u32 blendMode = 0;     // 0: source alpha over inverse source alpha; 1: additive, source alpha onto one
    bool fogEnabled = false;
};

// The passes used when the application gives none: world, camera-relative, additive screen space and
// a screen-space overlay without depth.
const std::vector<g3dRenderListConfig>& g3dDefaultRenderLists();

// A dynamic model or a sprite group of a list (exactly one is set), with the key and transparency of
// the current frame. What the order of opaque items reads is taken with the key, so that comparing two
// items touches nothing but the items.
struct g3dSortItem {
    std::unique_ptr<g3dModel> model;
    g3dDynamicModel* dynamicModel = nullptr;
    g3dSpriteGroupModel* spriteGroup = nullptr;
    f32 key = 0.0f;
    bool transparent = false;
    u8 opaqueRank = 0; // 0: no tree; 1: a root without fragment; 2: a root with one
    const g3dMaterial* firstMaterial = nullptr;
};

// One render list: its pass settings and the models it owns, each kind in its own linked list.
struct g3dRenderListEntry {
    g3dRenderListConfig config;
    std::list<std::unique_ptr<g3dStaticModel>> placedStatic;
    std::list<std::unique_ptr<g3dWorldStaticModel>> worldStatic;
    std::list<g3dSortItem> sortItems;
};

// Gives every sort item its key and transparency for the eye and its view direction, then orders
// the items: opaque first, grouped by material, then transparent far to near; items the order does not
// separate keep last frame's order. The static models are put in descending address order, the same
// from frame to frame.
void g3dSortRenderList(g3dRenderListEntry& entry, const maVector3d& eye, const maVector3d& direction);
