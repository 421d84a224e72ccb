#pragma once
#include <string>

// The "Environment" theme under a data folder: its scenery props (definition files, models) and, in its
// "Texture" folder, the wood that the "velvetrug" cheat lays over every texture of the world.
void toolWriteEnvironmentProps(const std::string& dataFolder);
