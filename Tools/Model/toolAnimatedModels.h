#pragma once
#include <string>

// The default models: a tube skin of two joints ("skintube.mx"), the animation that bends it
// ("skintubebend.mx") and a two-part arm hierarchy ("arm.mhx"), written into the folder.
void toolWriteAnimatedModels(const std::string& folder);
// The fountain prop: a basin with a spout on a joint ("fountain.mhx") and the animation that sways the
// spout ("fountainsway.mx"), written into the folder.
void toolWriteFountainModels(const std::string& folder);
