#include "Engine/Graphics/Sc/scParticleGeneratorTemplate.h"

#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/App/Gf/gfPakSearcher.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Graphics/An/an2StateAnimation.h"
#include "Engine/Graphics/An/anConstantAnimation.h"
#include "Engine/Graphics/An/anKeyAnimation.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/G3d/g3dUVATexture.h"
#include "Engine/Graphics/Sc/scEmitter.h"

#include <cmath>
#include <optional>

namespace {

constexpr u32 kTPAR = chMakeId('T', 'P', 'A', 'R');
constexpr u32 kGENP = chMakeId('G', 'E', 'N', 'P');
constexpr u32 kSGPP = chMakeId('S', 'G', 'P', 'P');
constexpr u32 kPARP = chMakeId('P', 'A', 'R', 'P');

// The reader stops only at the file's end: every field is checked against its chunk, so a short body
// never reads on into the next chunk.
void RequireInChunk(const chBinReader& reader, u64 bytes) {
    if (reader.GetChunkBytesLeft() < bytes)
        throw chInvalidChunkX();
}

i32 ReadByte(chBinReader& reader) {
    RequireInChunk(reader, 1);
    i8 value = 0;
    reader.ReadInt8(&value);
    return value;
}

// A count byte; the template holds 0 to 127 entries, so a negative count is a damaged file.
i32 ReadCount(chBinReader& reader, u64 bytesPerEntry) {
    const i32 count = ReadByte(reader);
    if (count < 0)
        throw chInvalidChunkX();
    RequireInChunk(reader, u64(count) * bytesPerEntry);
    return count;
}

// Times, values and sizes must be numbers: one NaN would spread through every particle.
float ReadFloat(chBinReader& reader) {
    RequireInChunk(reader, 4);
    f32 value = 0.0f;
    reader.ReadFloat(&value);
    if (!std::isfinite(value))
        throw chInvalidChunkX();
    return value;
}

// UTF-16 units up to a 0 unit inside the chunk; the 0 is not kept.
envString ReadName(chBinReader& reader) {
    envString name;
    for (;;) {
        RequireInChunk(reader, 2);
        u16 unit = 0;
        reader.ReadUInt16(&unit);
        if (unit == 0)
            return name;
        name.AppendChar(static_cast<char16_t>(unit));
    }
}

// n = 1: a constant; n = 2: a blend from the first value to the second; n >= 3: keys, the first at 0.
// The single and double forms store their values in (time, value) pairs whose times are unused.
std::unique_ptr<anTypedAnimation<float>> ReadCurve(chBinReader& reader, i32 n) {
    std::unique_ptr<anTypedAnimation<float>> curve;
    if (n == 1) {
        ReadFloat(reader);
        auto constant = std::make_unique<anConstantAnimation<float>>();
        constant->SetValue(ReadFloat(reader));
        curve = std::move(constant);
    } else if (n == 2) {
        ReadFloat(reader);
        const float from = ReadFloat(reader);
        ReadFloat(reader);
        auto blend = std::make_unique<an2StateAnimation<float>>();
        blend->SetStates(from, ReadFloat(reader));
        curve = std::move(blend);
    } else {
        auto keys = std::make_unique<anKeyAnimation<float>>();
        for (i32 i = 0; i < n; ++i) {
            const float time = ReadFloat(reader);
            keys->AddKey(i == 0 ? 0.0f : time, ReadFloat(reader));
        }
        return keys;
    }
    curve->SetDuration(1.0f);
    return curve;
}

// What one file sets; applied only once the whole file has been read. Later chunks overwrite earlier
// ones, and a display chunk without a curve keeps the curve already there.
struct TemplateFile {
    struct Generator {
        i32 generatorType, emitterType;
        maVector3d emitterSize;
    };
    struct Display {
        i32 growthMode, frameMode, lightingMode;
        envString textureName;
    };
    std::optional<Generator> generator;
    std::optional<Display> display;
    std::unique_ptr<anTypedAnimation<float>> curve;
    std::optional<std::vector<float>> parameters;

    void ReadChunk(chBinReader& reader, u32 id) {
        if (id == kGENP) {
            Generator g{};
            g.generatorType = ReadByte(reader);
            g.emitterType = ReadByte(reader);
            g.emitterSize.x = ReadFloat(reader);
            g.emitterSize.y = ReadFloat(reader);
            g.emitterSize.z = ReadFloat(reader);
            generator = g;
        } else if (id == kSGPP) {
            Display d{};
            d.growthMode = ReadByte(reader);
            d.frameMode = ReadByte(reader);
            d.lightingMode = ReadByte(reader);
            d.textureName = ReadName(reader);
            const i32 n = ReadCount(reader, 8);
            if (n != 0)
                curve = ReadCurve(reader, n);
            display = std::move(d);
        } else if (id == kPARP) {
            std::vector<float> values(static_cast<size_t>(ReadCount(reader, 4)));
            for (float& value : values)
                value = ReadFloat(reader);
            parameters = std::move(values);
        }
    }

    void ApplyTo(scParticleGeneratorTemplate& out) {
        if (generator) {
            out.generatorType = generator->generatorType;
            out.emitterType = generator->emitterType;
            out.emitterSize = generator->emitterSize;
        }
        if (curve)
            out.SetAnimation(*curve);
        if (display) {
            out.growthMode = display->growthMode;
            out.frameMode = display->frameMode;
            out.lightingMode = display->lightingMode;
            out.textureFile = fsLocator();
            out.textureFile.AppendComponent(display->textureName);
        }
        if (parameters)
            out.SetParameters(std::move(*parameters));
    }
};

} // namespace

scParticleGeneratorTemplate::~scParticleGeneratorTemplate() = default;

std::unique_ptr<scEmitter> scParticleGeneratorTemplate::CreateEmitter() const {
    switch (emitterType) {
    case 0:
        return std::make_unique<scPointEmitter>();
    case 1:
        return std::make_unique<scBlockEmitter>(emitterSize.x, emitterSize.y, emitterSize.z);
    case 2:
        return std::make_unique<scCircleEmitter>(emitterSize.x);
    default:
        return nullptr;
    }
}

void scParticleGeneratorTemplate::SetAnimation(const anTypedAnimation<float>& curve) {
    std::unique_ptr<anAnimation> copy = curve.Clone();
    m_curve.reset(dynamic_cast<anTypedAnimation<float>*>(copy.get()));
    if (m_curve)
        copy.release();
}

g3dTexture* scParticleGeneratorTemplate::LoadTexture() {
    if (textureFile.GetComponentCount() == 0) {
        DBG_WARNING("Couldn't make texture from empty filename");
        throw fsFileDoesntExistX(fsLocator());
    }
    if (!gfFileExists(textureFile))
        throw fsFileDoesntExistX(textureFile);
    // The old texture goes only once the new one is made, so a failing load keeps it.
    g3dTexture* loaded = nullptr;
    if (textureFile.GetLastComponent().Contains(envString(".tuv")))
        loaded = g3dTextureManager::LoadUVATexture(textureFile, 0, 0);
    else
        loaded = g3dTextureManager::LoadPlainTexture(textureFile, 0, 0);
    m_texture = std::shared_ptr<g3dTexture>(loaded, g3dTextureManager::ReleaseTexture);
    return loaded;
}

void scLoadParticleGeneratorTemplate(const fsLocator& file, scParticleGeneratorTemplate& out) {
    gfFile stream(file, gfFileRead, gfByteOrderData);
    stream.ReadBinHeader(nullptr);
    chBinReader reader(&stream);
    u32 id = 0, size = 0;
    u16 version = 0;
    if (!reader.BeginChunk(&id, &version, &size) || id != kTPAR)
        throw chInvalidChunkX();
    TemplateFile read;
    while (reader.BeginChunk(&id, &version, &size)) {
        read.ReadChunk(reader, id);
        reader.EndChunk();
    }
    reader.EndChunk();
    read.ApplyTo(out);
}
