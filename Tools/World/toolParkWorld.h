#pragma once
#include <string>

// The ground of the "Mountain" environment at (x, z): flat round the start, rolling gently further out,
// with one hill to the north-east between the start and the sun, a gorge running north in the west and a
// long even slope falling to the south.
float toolMountainHeight(float x, float z);

// The top of the hill (x, z).
inline constexpr float toolHillX = 230.0f, toolHillZ = 230.0f;
// The gorge's line (x), where it opens out onto the slope (z), and its depth below the plain; where the
// slope falls from the plain (z) and by how much a unit southwards.
inline constexpr float toolGorgeX = -130.0f, toolGorgeMouthZ = -90.0f, toolGorgeDepth = 24.0f;
inline constexpr float toolSlopeTopZ = -60.0f, toolSlopeGradient = 0.25f;

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
