#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Env/envString.h"
#include "Engine/Core/Ma/maVector.h"

#include <vector>

// The records an environment file (".end") fills. Colours are red, green, blue in 0..1, distances world
// units, angles radians; default construction gives the defaults the loader starts from.

// A point light (x, y, z its position) or a directional light (x, y, z its direction).
struct coEnvLightInfo {
    f32 red = 1.0f, green = 1.0f, blue = 1.0f;
    f32 x = 0.0f, y = 0.0f, z = 0.0f;
};

struct coEnvSkyInfo {
    envString layer1Model; // empty: no such layer
    envString layer2Model;
    f32 layer1Rate = 0.0f; // radians per second
    f32 layer2Rate = 0.0f;
    bool staticSky = true; // the layers neither follow the camera nor turn
    bool flatSky = true;   // they follow the camera in x and z only, at height 0
};

struct coEnvGridInfo {
    f32 minX = -200.0f, maxX = 200.0f, minZ = -200.0f, maxZ = 200.0f;
    i32 cellsX = 80, cellsZ = 80;
    f32 height = 20.0f; // the steepest step a cell may have
};

struct coEnvFogInfo {
    i32 mode = 0; // 0 none, 1 linear, 2 exponential, 3 squared exponential
    f32 red = 1.0f, green = 1.0f, blue = 1.0f;
    f32 start = 1.0f, end = 50.0f, density = 0.0f;
};

struct coEnvFlareElement {
    envString texture; // in the environment's "Texture" folder
    f32 offset = 0.0f;
    f32 scale = 1.0f;
};

struct coEnvLensFlareInfo {
    maVector3d sun{1000.0f, 1000.0f, 1000.0f};
    std::vector<coEnvFlareElement> elements;
};

// Reads an environment file into the records. The start position starts at (0, 0, 0) and the sky record
// at its defaults; the others keep what the caller set where the file says nothing. Lights are appended
// to the lists. A damaged file throws chInvalidChunkX naming it (a value past its chunk's body, a float
// that is not finite) or the file system's exceptions, and leaves every record as it was.
void coReadEnvironmentFile(const fsLocator& file, std::vector<coEnvLightInfo>& pointLights,
                           std::vector<coEnvLightInfo>& directionalLights, maVector3d& ambient,
                           envString& terrainModel, envString& extraTerrainModel, maVector3d& startPosition,
                           coEnvSkyInfo& sky, coEnvGridInfo& grid, maVector3d& background, coEnvFogInfo& fog,
                           coEnvLensFlareInfo& lensFlare, i32& shadowMode);
