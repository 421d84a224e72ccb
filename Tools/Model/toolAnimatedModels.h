#pragma once
#include <string>

// The default models: a tube skin of two joints ("skintube.mx"), the animation that bends it
// ("skintubebend.mx") and a two-part arm hierarchy ("arm.mhx"), written into the folder.
void toolWriteAnimatedModels(const std::string& folder);
// The animations of the props' joints, written into the folder: the fountain's nozzle sways about z over
// two seconds ("fountainsway.mx"), the windmill's sails make a full turn about z in four ("windmillturn.mx").
void toolWritePropAnimations(const std::string& folder);
