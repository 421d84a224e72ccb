#include "Source/TrackGeom/coCrossSectionReader.h"

#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Graphics/An/an2StateAnimation.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dMaterialAnimation.h"
#include "Source/Scene/coTextureCache.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/TrackGeom/coCrossSection.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr u32 kMaterial = chMakeId('M', 'A', 'T', 'R');
constexpr u32 kTexture = chMakeId('T', 'E', 'X', 'T');
constexpr u32 kTextureSlide = chMakeId('T', 'X', 'S', 'L');
constexpr u32 kAmbient = chMakeId('A', 'M', 'B', 'I');
constexpr u32 kDiffuse = chMakeId('D', 'I', 'F', 'F');
constexpr u32 kSpecular = chMakeId('S', 'P', 'E', 'C');
constexpr u32 kPower = chMakeId('S', 'P', 'O', 'W');
constexpr u32 kCrossSection = chMakeId('C', 'R', 'O', 'S');
constexpr u32 kVertices = chMakeId('V', 'E', 'R', 'T');
constexpr u32 kLOD = chMakeId('C', 'L', 'O', 'D');
constexpr u32 kTextureSpacing = chMakeId('T', 'X', 'S', 'P');
constexpr u32 kSampleSpacing = chMakeId('S', 'M', 'S', 'P');
constexpr u32 kName = chMakeId('N', 'A', 'M', 'E');

// The most vertices an outline may have: the extrusion indexes its vertices in 16 bits.
constexpr i32 kMaxVertices = 65535;

std::vector<g3dTexture*> g_trackTextures;

// The path a warning shows: where the file would be in the first directory of its root.
std::string WarningPath(const fsLocator& locator) {
    std::vector<fsLocator> candidates;
    fsGetRootCandidates(locator, candidates);
    std::string path;
    fsLocatorToNativePath(candidates.empty() ? locator : candidates.front(), path);
    return path;
}

bool IsPlainFileName(const std::string& name) {
    envString text;
    fsNativeToString(name.data(), name.size(), text);
    return coIsPlainFolderName(text);
}

void ReadTexture(chReader& reader, g3dMaterial& material) {
    std::string name;
    reader.ReadString(name);
    try {
        if (g3dTexture* texture = coLoadTrackTexture(name))
            material.AddTextureStage(texture, 0);
    } catch (const fsFileDoesntExistX& missing) {
        DBG_WARNING("File not found: %s", WarningPath(missing.GetLocator()).c_str());
    } catch (const gfFileNotInPakX& missing) {
        DBG_WARNING("File not found in pak: %s", WarningPath(missing.GetLocator()).c_str());
    }
}

// A rate of r repeats a second: the coordinates run from (0, 0) to (0, -1) in 1/r seconds, looping.
void ReadTextureSlide(chReader& reader, g3dMaterial& material) {
    float rate = 0.0f;
    reader.ReadFloat(&rate);
    // Infinite rates give a period of 0, tiny ones an infinite period: neither slides.
    const float period = rate > 0.0f ? 1.0f / rate : 0.0f;
    if (!(period > 0.0f) || !std::isfinite(period)) {
        std::string path;
        fsLocatorToNativePath(reader.GetLocator(), path);
        DBG_WARNING("%s: TextureSlide %g gives no period; the texture does not slide", path.c_str(), rate);
        return;
    }
    auto slide = std::make_unique<an2StateAnimation<maVector2d>>();
    slide->SetStates(maVector2d(0.0f, 0.0f), maVector2d(0.0f, -1.0f));
    slide->SetDuration(period);
    slide->SetLooping(true);
    // Stage 0's texture-coordinate offset moves one whole repeat a period.
    material.AddAnimation(
        std::make_unique<g3dMaterialAnimation>(std::move(slide), g3dMaterialChannel::StageOffset, 0.0f));
}

// Red, green and blue with alpha 1, when all three are finite.
bool ReadColour(chReader& reader, const char* key, g3dARGBColor& colour) {
    float rgb[3] = {};
    if (!coReadFiniteFloats(reader, key, rgb, 3))
        return false;
    colour = g3dARGBColor(rgb[0], rgb[1], rgb[2], 1.0f);
    return true;
}

void ReadVertices(chReader& reader, coCrossSection& section) {
    i32 count = 0;
    reader.ReadInt32(&count);
    // The text reader refuses a value past its chunk; the binary one is asked for the bytes left.
    const auto* binary = dynamic_cast<const chBinReader*>(&reader);
    if (count < 0 || count > kMaxVertices || (binary && u64(count) * 8 > binary->GetChunkBytesLeft()))
        throw chInvalidChunkX();
    // Grown pair by pair, so a count larger than the chunk ends in the reader's exception, not in a
    // large allocation; the outline is replaced only once every pair is read and finite.
    std::vector<maVector2d> points;
    bool finite = true;
    for (i32 i = 0; i < count; ++i) {
        float xy[2] = {};
        finite = coReadFiniteFloats(reader, "Vertices", xy, 2) && finite;
        points.emplace_back(xy[0], xy[1]);
    }
    if (finite)
        section.SetVertices(points.data(), count);
}

} // namespace

void registerCrossSectionTags(chTagMap& tags) {
    tags["Material"] = kMaterial;
    tags["Texture"] = kTexture;
    tags["TextureSlide"] = kTextureSlide;
    tags["Ambient"] = kAmbient;
    tags["Diffuse"] = kDiffuse;
    tags["Specular"] = kSpecular;
    tags["Power"] = kPower;
    tags["CrossSection"] = kCrossSection;
    tags["Vertices"] = kVertices;
    tags["LOD"] = kLOD;
    tags["TextureSpacing"] = kTextureSpacing;
    tags["SampleSpacing"] = kSampleSpacing;
    tags["Name"] = kName;
}

void readCrossSection(chReader& reader, coCrossSection& section) {
    u32 id = 0;
    u16 version = 0;
    u32 size = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        float value = 0.0f;
        switch (id) {
        case kMaterial: {
            auto material = std::make_unique<g3dMaterial>();
            readCrossSectionMaterial(reader, *material);
            section.SetMaterial(std::move(material));
            break;
        }
        case kCrossSection:
            readCrossSectionVertices(reader, section);
            break;
        case kLOD: {
            i32 lod = 0;
            reader.ReadInt32(&lod);
            section.SetLOD(lod);
            break;
        }
        case kTextureSpacing:
            if (coReadFiniteFloats(reader, "TextureSpacing", &value, 1))
                section.SetTextureSpacing(value);
            break;
        case kSampleSpacing:
            if (coReadFiniteFloats(reader, "SampleSpacing", &value, 1))
                section.SetSampleSpacing(value);
            break;
        case kName: {
            std::string name;
            reader.ReadString(name);
            section.SetName(name);
            break;
        }
        default:
            break;
        }
        reader.EndChunk();
    }
}

void readCrossSectionMaterial(chReader& reader, g3dMaterial& material) {
    u32 id = 0;
    u16 version = 0;
    u32 size = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        g3dARGBColor colour;
        float power = 0.0f;
        switch (id) {
        case kTexture:
            ReadTexture(reader, material);
            break;
        case kTextureSlide:
            ReadTextureSlide(reader, material);
            break;
        case kAmbient:
            if (ReadColour(reader, "Ambient", colour))
                material.SetAmbient(colour);
            break;
        case kDiffuse:
            if (ReadColour(reader, "Diffuse", colour))
                material.SetDiffuse(colour);
            break;
        case kSpecular:
            if (ReadColour(reader, "Specular", colour))
                material.SetSpecular(colour);
            break;
        case kPower:
            if (coReadFiniteFloats(reader, "Power", &power, 1))
                material.SetSpecularPower(power);
            break;
        default:
            break;
        }
        reader.EndChunk();
    }
}

void readCrossSectionVertices(chReader& reader, coCrossSection& section) {
    u32 id = 0;
    u16 version = 0;
    u32 size = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (id == kVertices)
            ReadVertices(reader, section);
        reader.EndChunk();
    }
}

g3dTexture* coLoadTrackTexture(const std::string& name) {
    g3dTexture* texture = coAcquireTexture(coTrackTypeFile(name));
    // The list holds one reference a texture, however often it is asked for (every colour change asks).
    if (std::find(g_trackTextures.begin(), g_trackTextures.end(), texture) != g_trackTextures.end())
        coReleaseTexture(texture);
    else if (texture)
        g_trackTextures.push_back(texture);
    return texture;
}

void coReleaseTrackTextures() {
    for (g3dTexture* texture : g_trackTextures)
        coReleaseTexture(texture);
    g_trackTextures.clear();
}

fsLocator coTrackTypeFolder() {
    fsLocator folder(coRootTracks);
    fsAppendNativeName(folder, coGetCoasterDefinition().GetCoasterTypeName());
    return folder;
}

fsLocator coTrackTypeFile(const std::string& name) {
    fsLocator file = coTrackTypeFolder();
    fsAppendNativeName(file, name);
    if (!IsPlainFileName(name))
        throw fsFileDoesntExistX(file);
    return file;
}
