#include "Source/TrackGeom/coTrackColorizer.h"

#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Ch/chTxtReader.h"
#include "Engine/App/Ch/chTxtWriter.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Source/Settings/coPaths.h"
#include "Source/TrackGeom/coCrossSectionReader.h"
#include "Source/TrackGeom/coSupportMaker.h"
#include "Source/TrackGeom/coTrackDefinition.h"
#include "Source/TrackGeom/coTrackDefinitionSource.h"

#include <cmath>

namespace {

constexpr u32 kMaterial = chMakeId('M', 'A', 'T', 'R');
constexpr u32 kName = chMakeId('N', 'A', 'M', 'E');
constexpr u32 kAmbient = chMakeId('A', 'M', 'B', 'I');
constexpr u32 kDiffuse = chMakeId('D', 'I', 'F', 'F');
constexpr u32 kSpecular = chMakeId('S', 'P', 'E', 'C');
constexpr u32 kPower = chMakeId('S', 'P', 'O', 'W');
constexpr u32 kTexture = chMakeId('T', 'E', 'X', 'T');

const chTagMap& Tags() {
    static const chTagMap tags = {{"ColorScheme", coChunkColorScheme},
                                  {"Material", kMaterial},
                                  {"Name", kName},
                                  {"Ambient", kAmbient},
                                  {"Diffuse", kDiffuse},
                                  {"Specular", kSpecular},
                                  {"Power", kPower},
                                  {"Texture", kTexture}};
    return tags;
}

struct Colorizer {
    std::vector<coColorScheme> schemes;
    coColorScheme current;
    int selected = 0;
};

Colorizer& State() {
    static Colorizer colorizer;
    return colorizer;
}

// Alpha is left out: "TrkColor.def" carries red, green and blue only, and reads alpha back as 1.
bool ColorsEqual(const g3dARGBColor& a, const g3dARGBColor& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

// A colour or a power that is not finite would poison every lit pixel of the part.
float ReadFinite(chReader& reader) {
    float value = 0.0f;
    reader.ReadFloat(&value);
    if (!std::isfinite(value))
        throw chInvalidChunkX(reader.GetLocator());
    return value;
}

g3dARGBColor ReadColor(chReader& reader) {
    const float r = ReadFinite(reader);
    const float g = ReadFinite(reader);
    const float b = ReadFinite(reader);
    return {r, g, b, 1.0f};
}

// The name becomes a path component in the coaster type's folder: anything but one plain file name is
// dropped rather than let it reach outside.
std::string ReadTextureName(chReader& reader) {
    std::string name;
    reader.ReadString(name);
    envString text;
    fsNativeToString(name.data(), name.size(), text);
    if (name.empty() || coIsPlainFolderName(text))
        return name;
    DBG_WARNING("track colours: texture \"%s\" is not a plain file name; the part has no texture",
                name.c_str());
    return std::string();
}

void ReadMaterial(chReader& reader, coColorScheme& scheme) {
    coSchemeMaterial record;
    std::string name;
    u32 id, size;
    u16 version;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (id == kName)
            reader.ReadString(name);
        else if (id == kAmbient)
            record.ambient = ReadColor(reader);
        else if (id == kDiffuse)
            record.diffuse = ReadColor(reader);
        else if (id == kSpecular)
            record.specular = ReadColor(reader);
        else if (id == kPower)
            record.power = ReadFinite(reader);
        else if (id == kTexture)
            record.texture = ReadTextureName(reader);
        reader.EndChunk();
    }
    if (!name.empty())
        scheme[name] = record;
}

// The "Material" chunks of one "ColorScheme" chunk.
void ReadSchemeBody(chReader& reader, coColorScheme& scheme) {
    u32 id, size;
    u16 version;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (id == kMaterial)
            ReadMaterial(reader, scheme);
        reader.EndChunk();
    }
}

void WriteColor(chWriter& writer, u32 id, const g3dARGBColor& color) {
    writer.BeginChunk(id, 1, false);
    writer.WriteFloat(color.r);
    writer.WriteFloat(color.g);
    writer.WriteFloat(color.b);
    writer.EndChunk();
}

void WriteMaterial(chWriter& writer, const std::string& name, const coSchemeMaterial& record) {
    writer.BeginChunk(kMaterial, 1, true);
    writer.BeginChunk(kName, 1, false);
    writer.WriteString(name);
    writer.EndChunk();
    WriteColor(writer, kAmbient, record.ambient);
    WriteColor(writer, kDiffuse, record.diffuse);
    WriteColor(writer, kSpecular, record.specular);
    writer.BeginChunk(kPower, 1, false);
    writer.WriteFloat(record.power);
    writer.EndChunk();
    if (!record.texture.empty()) {
        writer.BeginChunk(kTexture, 1, false);
        writer.WriteString(record.texture);
        writer.EndChunk();
    }
    writer.EndChunk();
}

// Stores the scheme's parts over the current colours and applies each.
void MergeIntoCurrent(const coColorScheme& scheme) {
    for (const auto& [name, record] : scheme) {
        State().current[name] = record;
        coTrackColorizer::ApplyPart(name, record);
    }
}

bool IsStoredIndex(int index) {
    return static_cast<unsigned>(index) < State().schemes.size();
}

} // namespace

bool coSchemeMaterial::operator==(const coSchemeMaterial& other) const {
    return ColorsEqual(ambient, other.ambient) && ColorsEqual(specular, other.specular) &&
           power == other.power && ColorsEqual(diffuse, other.diffuse) && texture == other.texture;
}

void coTrackColorizer::ApplyMaterial(g3dMaterial& material, const coSchemeMaterial& record) {
    material.SetDiffuse(record.diffuse);
    material.SetAmbient(record.ambient);
    material.SetSpecular(record.specular);
    material.SetSpecularPower(record.power);
    material.ClearTextureStages();
    if (!record.texture.empty()) {
        try {
            if (g3dTexture* texture = coLoadTrackTexture(record.texture))
                material.AddTextureStage(texture, 0);
        } catch (const envExceptionX&) {
            DBG_WARNING("track colours: texture \"%s\" cannot be loaded; the part is drawn without it",
                        record.texture.c_str());
        }
    }
    material.UpdateFlags();
}

void coTrackColorizer::ApplyPart(const std::string& name, const coSchemeMaterial& record) {
    std::vector<g3dMaterial*> materials;
    if (coTrackDefinition* definition = coGetTrackDefinitionSource().GetTrackDefinition())
        coCollectPartMaterials(*definition, name, materials);
    if (coSupportMaker* maker = coGetTrackDefinitionSource().GetSupportMaker())
        maker->CollectMaterials(name, materials);
    for (g3dMaterial* material : materials)
        ApplyMaterial(*material, record);
}

void coTrackColorizer::ApplyScheme(const coColorScheme& scheme) {
    for (const auto& [name, record] : scheme)
        ApplyPart(name, record);
}

void coTrackColorizer::ApplySchemeByIndex(int index) {
    if (IsStoredIndex(index))
        ApplyScheme(State().schemes[size_t(index)]);
}

void coTrackColorizer::SelectScheme(int index) {
    if (!IsStoredIndex(index))
        return;
    State().selected = index;
    // A copy: applying may not change the list, but the current colours are written while it is walked.
    MergeIntoCurrent(coColorScheme(State().schemes[size_t(index)]));
}

void coTrackColorizer::SetCurrentScheme(const coColorScheme& scheme) {
    State().selected = GetSchemeCount();
    MergeIntoCurrent(coColorScheme(scheme));
}

void coTrackColorizer::ApplyCurrent() {
    if (State().current.empty()) {
        if (!State().schemes.empty())
            SelectScheme(0);
        return;
    }
    ApplyScheme(State().current);
}

void coTrackColorizer::ClearCurrent() {
    State().current.clear();
}

void coTrackColorizer::SetCurrentPart(const std::string& name, const coSchemeMaterial& record) {
    State().current[name] = record;
}

bool coTrackColorizer::GetCurrentPart(const std::string& name, coSchemeMaterial& out) {
    const auto found = State().current.find(name);
    if (found == State().current.end())
        return false;
    out = found->second;
    return true;
}

void coTrackColorizer::GetCurrentParts(std::vector<std::pair<std::string, coSchemeMaterial>>& out) {
    out.assign(State().current.begin(), State().current.end());
}

const coColorScheme& coTrackColorizer::GetCurrentScheme() {
    return State().current;
}

int coTrackColorizer::GetSelectedIndex() {
    return State().selected;
}

int coTrackColorizer::GetSchemeCount() {
    return static_cast<int>(State().schemes.size());
}

void coTrackColorizer::CopySchemes(std::vector<coColorScheme>& out) {
    out = State().schemes;
}

void coTrackColorizer::AssignSchemes(const std::vector<coColorScheme>& schemes) {
    State().schemes = schemes;
}

int coTrackColorizer::AddScheme(const coColorScheme& scheme) {
    State().schemes.push_back(scheme);
    return GetSchemeCount() - 1;
}

int coTrackColorizer::AppendEmptyScheme() {
    return AddScheme(coColorScheme());
}

void coTrackColorizer::SetSchemePart(int index, const std::string& name, const coSchemeMaterial& record) {
    if (!IsStoredIndex(index)) {
        DBG_WARNING("track colours: no stored scheme %d of %d; part \"%s\" ignored", index, GetSchemeCount(),
                    name.c_str());
        return;
    }
    State().schemes[size_t(index)][name] = record;
}

void coTrackColorizer::ClearSchemes() {
    State().schemes.clear();
}

void coTrackColorizer::FindMatchingScheme() {
    int index = 0;
    while (index < GetSchemeCount() && State().schemes[size_t(index)] != State().current)
        ++index;
    State().selected = index;
}

void coTrackColorizer::MakeDefaultSchemes() {
    struct Colors {
        g3dARGBColor track, support;
    };
    static const Colors kBuiltIn[3] = {
        {{0.8f, 0.6f, 0.0f, 1.0f}, {0.8f, 0.6f, 0.0f, 1.0f}},
        {{0.0f, 0.0f, 0.8f, 1.0f}, {0.6f, 0.0f, 0.0f, 1.0f}},
        {{0.8f, 0.0f, 0.6f, 1.0f}, {0.6f, 0.0f, 0.8f, 1.0f}},
    };
    State().selected = 0;
    State().schemes.resize(3);
    for (size_t i = 0; i < 3; ++i) {
        coColorScheme& scheme = State().schemes[i];
        coSchemeMaterial track, support;
        track.diffuse = kBuiltIn[i].track;
        support.diffuse = kBuiltIn[i].support;
        scheme["Rail"] = scheme["Center"] = scheme["Crossbar"] = track;
        scheme["Support"] = support;
    }
}

coColorScheme coTrackColorizer::ReadScheme(chReader& reader) {
    coColorScheme scheme;
    u32 id, size;
    u16 version;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (id == coChunkColorScheme)
            ReadSchemeBody(reader, scheme);
        reader.EndChunk();
    }
    return scheme;
}

void coTrackColorizer::ReplaceCurrent(const coColorScheme& scheme) {
    State().current = scheme;
    FindMatchingScheme();
}

void coTrackColorizer::WriteScheme(chWriter& writer) {
    if (State().current.empty())
        return;
    writer.BeginChunk(coChunkColorScheme, 1, true);
    for (const auto& [name, record] : State().current)
        WriteMaterial(writer, name, record);
    writer.EndChunk();
}

void loadColorSchemes(const fsLocator& file) {
    gfFile source(file, gfFileRead);
    chTxtReader reader(&source);
    reader.SetTagMap(&Tags());
    std::vector<coColorScheme> schemes;
    u32 id, size;
    u16 version;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (id == coChunkColorScheme)
            ReadSchemeBody(reader, schemes.emplace_back());
        reader.EndChunk();
    }
    State().schemes = std::move(schemes);
}

void saveColorSchemes(const fsLocator& file) {
    fsLocator target = file;
    fsResolveRoot(target);
    if (target.GetComponentCount() == 0)
        throw fsInvalidLocatorX(file);
    const std::vector<coColorScheme> schemes = State().schemes;
    if (schemes.empty()) {
        if (fsFileExists(target))
            fsDeleteFile(target);
        return;
    }
    const coColorScheme& current = State().current;
    gfWriteFileAtomically(target, gfByteOrderPlain, [&](gfFile& out) {
        chTxtWriter writer(&out);
        for (const coColorScheme& scheme : schemes) {
            writer.BeginChunk(coChunkColorScheme, 1, true);
            // With current colours a scheme keeps only their parts; without, it is written whole, so
            // that the player's copy never loses its schemes.
            for (const auto& [name, record] : scheme)
                if (current.empty() || current.count(name))
                    WriteMaterial(writer, name, record);
            writer.EndChunk();
        }
    });
}
