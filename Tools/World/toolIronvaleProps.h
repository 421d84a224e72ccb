#pragma once
#include <string>

// The props of the "Ironvale" theme under a data folder: definition files in its "Data" folder, their
// models, animation, textures and sounds, and the prop packs in "Data/Geom/geom.pak".
void toolWriteIronvaleProps(const std::string& dataFolder);
