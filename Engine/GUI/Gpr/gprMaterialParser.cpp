#include "Engine/GUI/Gpr/gprMaterialParser.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gpr/gprWidgetTargets.h"
#include "Engine/GUI/Gui/guiScriptTargets.h"
#include "Engine/GUI/Gui/guiWindow.h"

#include <set>

gprMaterialParser::gprMaterialParser() {
    s_material = gprLookUpKeyword("Material");
    s_tile = gprLookUpKeyword("Tile");
    s_transparencyMap = gprLookUpKeyword("MakeTransparencyMap");
    s_transparency = gprLookUpKeyword("Transparency");
    s_color = gprLookUpKeyword("Color");
}

void gprMaterialParser::LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target) {
    if (id != s_color && id != s_transparency && id != s_tile && id != s_transparencyMap) {
        gprWindowParser::LoadProperty(id, version, size, reader, target);
        return;
    }
    auto& material = dynamic_cast<guiMaterialTarget&>(*target);
    if (id == s_color) {
        const std::array<u8, 3> rgb = ReadColor(reader);
        target->SetColor(rgb, ReadState(reader));
        return;
    }
    const bool tile = id == s_tile;
    const char* keyword = tile ? "Tile" : id == s_transparency ? "Transparency" : "MakeTransparencyMap";
    f32 v[2] = {};
    const bool finite = ReadFinite(reader, v, tile ? 2 : 1, target, keyword);
    const i32 state = ReadState(reader);
    if (!finite)
        return;
    if (id == s_transparency) {
        target->SetTransparency(v[0], state);
        return;
    }
    // Both act on the state's texture; an image or a text gives it one first.
    if (!material.HasTexture(state)) {
        DBG_WARNING("Window %s: %s for state %d, which has no texture; ignored", target->GetName().c_str(),
                    keyword, state);
        return;
    }
    if (tile)
        material.SetTile(v[0], v[1], state);
    else
        material.MakeTransparencyMap(v[0], state);
}

void gprMaterialParser::SaveProperties(u16 version, chWriter& writer, guiWindow* window) {
    const auto& material = dynamic_cast<const guiMaterialTarget&>(*window);
    for (i32 state : KnownStates()) {
        if (!material.HasStateMaterial(state))
            continue;
        const std::string name = SavedStateName(state);
        writer.BeginChunk(s_color, version, false);
        WriteColor(writer, material.GetColor(state));
        writer.WriteString(name);
        writer.EndChunk();
        if (!material.HasTexture(state))
            continue;
        f32 u = 1.0f, v = 1.0f;
        material.GetTile(u, v, state);
        writer.BeginChunk(s_tile, version, false);
        writer.WriteFloat(u);
        writer.WriteFloat(v);
        writer.WriteString(name);
        writer.EndChunk();
        writer.BeginChunk(s_transparency, version, false);
        writer.WriteFloat(material.GetTransparency(state));
        writer.WriteString(name);
        writer.EndChunk();
    }
    gprWindowParser::SaveProperties(version, writer, window);
}

void gprMaterialParser::TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) {
    if (id == s_tile)
        CopyValues(reader, writer, "ffs");
    else if (id == s_transparencyMap || id == s_transparency)
        CopyValues(reader, writer, "fs");
    else if (id == s_color)
        CopyValues(reader, writer, "iiis");
    else
        gprWindowParser::TranslateProperty(id, version, size, reader, writer);
}

bool gprMaterialParser::CanHandle(guiWindow* window) const {
    return dynamic_cast<guiMaterialTarget*>(window) != nullptr;
}

guiWindow* gprMaterialParser::CreateWidget() const {
    return gprMakeWidget("Material");
}

std::vector<i32> gprMaterialParser::KnownStates() {
    std::set<i32> states{-1};
    for (const auto& [name, value] : gprGetStateNames())
        states.insert(value);
    return {states.begin(), states.end()};
}

std::string gprMaterialParser::SavedStateName(i32 state) {
    return state == guiStateNone ? "Default" : gprStateNumberToName(state);
}
