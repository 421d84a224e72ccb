#pragma once
#include <string>

// The default models: a tube skin of two joints ("skintube.mx"), the animation that bends it
// ("skintubebend.mx") and a two-part arm hierarchy ("arm.mhx"), written into the folder.
void toolWriteAnimatedModels(const std::string& folder);
