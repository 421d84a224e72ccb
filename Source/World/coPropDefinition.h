#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Core/Ma/maVector.h"
#include "Source/World/coInvalidPropFileX.h"

#include <string>
#include <vector>

// A particle effect fired at a key of a prop's animation.
struct coPropParticleItem {
    envString file; // ".tpr" in the shared particle folder
    std::string node;
    i16 keyIndex = 0;
    f32 duration = 1.0f; // negative: endless
    maVector3d offset{0.0f, 0.0f, 0.0f};
    maVector3d direction{0.0f, 0.0f, 1.0f};
};

// A sound started at a key of a prop's animation.
struct coPropSoundItem {
    envString file; // in the theme's "Sound" folder
    std::string node;
    i16 keyIndex = 0;
    u8 loop = 0;
    f32 volume = 1.0f;
    f32 pitch = 1.0f;
    f32 minDistance = 20.0f;
    f32 maxDistance = 100.0f;
};

// One idle, entry or exit animation with what it fires.
struct coPropEventRecord {
    i32 playCount = 0; // 0 or 1 once; above 1 or below 0 loops
    envString animation;
    envString secondName;
    f32 speed = 1.0f;
    std::vector<coPropParticleItem> particles;
    std::vector<coPropSoundItem> sounds;
};

// A whole ".prd" file.
struct coPropDefinition {
    fsLocator file; // where it was read
    envString model;
    std::vector<coPropEventRecord> entries;
    coPropEventRecord exit;
    coPropEventRecord idle;
    f32 triggerDistance = 0.0f;
    f32 height = 0.0f;
    f32 scale = 1.0f;
};

// The quick scan: coInvalidPropFileX for a top chunk above version 1; the "TRPR" byte into the flag,
// which keeps the caller's value when the file has none.
void coReadPropTrackFlag(const fsLocator& file, bool& trackProp);

// The full read of (theme)/"Data"/(name).prd, or of (theme)/(name).prd when the "Data" one is missing.
// Every value and string stays inside its chunk (chInvalidChunkX otherwise); a file that names no model
// throws coInvalidPropFileX. The result is only handed out whole.
coPropDefinition coLoadPropDefinition(const fsLocator& file);
