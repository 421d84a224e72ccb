#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maVector.h"
#include "Tools/Image/toolFlipBook.h"
#include "Tools/Image/toolPngWriter.h"

#include <string>
#include <utility>
#include <vector>

// A particle effect as its ".tpr" file stores it.
struct toolParticleTemplate {
    i8 generatorType = 1; // 0 static, 1 cone, 2 spiral
    i8 emitterType = 0;   // 0 point, 1 block, 2 circle
    maVector3d emitterSize{1.0f, 1.0f, 1.0f};
    i8 growthMode = 1;   // 0 linear
    i8 frameMode = 0;    // 1 a random frame a particle
    i8 lightingMode = 1; // 1 lit by the scene
    std::string texture;
    // (time, value) pairs of the alpha curve: one is a constant, two a blend, more are keys.
    std::vector<std::pair<float, float>> alpha;
    std::vector<float> parameters;
};

// Writes the ".tpr" file at the path, replacing any file there only once the new one is complete.
// More than 127 curve keys or parameters throw std::length_error.
void toolWriteParticleTemplate(const std::string& path, const toolParticleTemplate& effect);

// The ride's car flame: a cone of glowing flame sprites that rise, shrink and fade from alpha 1 to 0, each
// playing the flame's flip book over its life.
toolParticleTemplate toolCoasterFlame();
// The flame's flip book ("flame.tuv"): kFlameFrames frames on one page, 4 across and 2 down.
inline constexpr int kFlameFrames = 8;
toolFlipBook toolFlameBook();
// Its page ("flameflicker.png"): a tongue of flame, white-yellow at the heart to red at the rim, clear
// outside, that leans from side to side from frame to frame and cools and shrinks towards the last.
toolImage toolFlameFrames();
// The fountain's spray: small drops thrown up in a narrow cone that gravity bends back down, fading as
// they reach the basin's water about a second later.
toolParticleTemplate toolFountainSpray();
// Its sprite: a small round drop, white at the heart to pale blue at the rim, clear outside.
toolImage toolDropSprite();

// Writes the effects ("coasterflame.tpr", "fountain.tpr") and their sprites into the "Particle" folder of
// the effects root under the data folder ("Data/Effects/Particle"); the flame's flip book also goes to the
// default theme's "Texture" folder.
void toolWriteParticleEffects(const std::string& dataFolder);
