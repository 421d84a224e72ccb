#pragma once
#include "Engine/Core/Ma/maVector.h"

#include <string>
#include <vector>

// The default models: a tube skin of two joints ("skintube.mx"), the animation that bends it
// ("skintubebend.mx") and a two-part arm hierarchy ("arm.mhx"), written into the folder.
void toolWriteAnimatedModels(const std::string& folder);
// The "Ironvale" theme's skinned prop: an orange tube dancer 3 high ("tubedancer.msk", a skin of the same two
// joints as the tube's) and the animation that sways it over and back both ways ("tubedancersway.mx").
void toolWriteTubeDancer(const std::string& folder);
// A key of a turning joint: angles about x, y and z (radians) at a frame (24 frames a second).
struct toolTurnKey {
    float x, y, z, frame;
};
// Writes the animation (".mx") named into the folder, of a two-level model whose base level stays still and
// whose joint, placed at the point, turns through the keys. The joint is given its place at every key too,
// since an animated level takes its whole placing from the animation. Keys half a turn or more apart turn the
// long way round.
void toolWriteJointAnimation(const std::string& folder, const std::string& name, const maVector3d& place,
                             const std::vector<toolTurnKey>& keys);
