#pragma once
#include <string>

// The ground of the "Mountain" environment at (x, z): flat round the start, rolling gently further out,
// with one hill to the north-east between the start and the sun.
float toolMountainHeight(float x, float z);

// The "Mountain" environment under a data folder: its terrain, sky and cloud models with their textures,
// and three variants, "Data/1.end" (day), "Data/2.end" (dusk, with fog and a sun flare) and "Data/3.end"
// (night).
void toolWriteMountain(const std::string& dataFolder);

// The floor of the "cavern" environment at (x, z): flat round the start, rising towards the walls.
float toolCavernHeight(float x, float z);

// The "cavern" environment under a data folder: a rock floor under a rock vault, dark, with shadows on, so
// that the train's headlight is used there.
void toolWriteCavern(const std::string& dataFolder);

// The loading dock of the "Ironvale" theme for both coaster types: platforms either side of the track and a
// roof on posts, in "Themes/Ironvale/Tracks/<type>/Model/loaddock.mx", textured from the theme's folder.
void toolWriteIronvaleDock(const std::string& dataFolder);

// The target rings' textures in "Data/Effects/Texture": "ringgreen.png", "ringred.png" and "ringgold.png",
// a coloured band on a square, alpha 0 outside it.
void toolWriteRingTextures(const std::string& dataFolder);
