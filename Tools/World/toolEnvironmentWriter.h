#pragma once
#include "Source/World/coEnvironmentFile.h"

#include <string>

// An environment as its file stores it: what the game's reader fills.
struct toolEnvironment {
    envString terrainModel, extraTerrainModel;
    coEnvSkyInfo sky;
    coEnvGridInfo grid;
    maVector3d background, ambient, startPosition;
    std::vector<coEnvLightInfo> pointLights, directionalLights;
    coEnvFogInfo fog;
    coEnvLensFlareInfo lensFlare;
    i32 shadowMode = 1;
};

// Writes an environment file (".end"): one "CENV" chunk holding every record, the models as a version 4
// "EMOD". Cell counts outside 16 bits and more than 127 flare elements throw std::out_of_range.
void toolWriteEnvironment(const std::string& path, const toolEnvironment& environment);
