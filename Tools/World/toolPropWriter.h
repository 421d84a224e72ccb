#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <array>
#include <string>
#include <vector>

// Prop definition files (".prd") as the game reads them: a binary chunk file without a file header.
struct toolPropParticle {
    std::string file;
    std::string node;
    i16 keyIndex = 0;
    float duration = 1.0f;
    std::array<float, 3> offset{0, 0, 0};
    std::array<float, 3> direction{0, 0, 1};
};

struct toolPropSound {
    std::string file;
    std::string node;
    i16 keyIndex = 0;
    bool loop = false;
    float volume = 1.0f;
    float pitch = 1.0f;
    float minDistance = 20.0f;
    float maxDistance = 100.0f;
};

// Written in the newest layout (version 5) with every field.
struct toolPropEvent {
    i32 playCount = 0;
    std::string animation;
    float speed = 1.0f;
    std::vector<toolPropParticle> particles;
    std::vector<toolPropSound> sounds;
};

struct toolPropDefinition {
    std::string model;
    float triggerDistance = 0.0f;
    float height = 0.0f;
    float scale = 1.0f;
    bool trackProp = false;
    std::vector<toolPropEvent> idle; // none or one
    std::vector<toolPropEvent> entries;
    std::vector<toolPropEvent> exit; // none or one
};

void toolWritePropDefinition(const std::string& path, const toolPropDefinition& prop);
