#include "Engine/GUI/Gpr/gprImageParser.h"

#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gpr/gprScript.h"
#include "Engine/GUI/Gpr/gprWidgetTargets.h"
#include "Engine/GUI/Gui/guiScriptTargets.h"
#include "Engine/GUI/Gui/guiWindow.h"

gprImageParser::gprImageParser() {
    s_image = gprLookUpKeyword("Image");
    s_imageState = gprLookUpKeyword("ImageState");
}

void gprImageParser::LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target) {
    if (id != s_imageState) {
        gprMaterialParser::LoadProperty(id, version, size, reader, target);
        return;
    }
    auto& image = dynamic_cast<guiImageTarget&>(*target);
    std::string name;
    reader.ReadString(name);
    const i32 state = ReadState(reader);
    fsLocator file;
    gprParserUtil::ResolveScriptPath(name, file);
    image.SetImage(file, state);
}

void gprImageParser::SaveProperties(u16 version, chWriter& writer, guiWindow* window) {
    const auto& image = dynamic_cast<const guiImageTarget&>(*window);
    const auto& material = dynamic_cast<const guiMaterialTarget&>(*window);
    for (i32 state : KnownStates()) {
        if (!material.HasTexture(state))
            continue;
        fsLocator file;
        image.GetImageFile(state, file);
        writer.BeginChunk(s_imageState, version, false);
        writer.WriteString(gprParserUtil::MakeScriptRelativeName(file));
        writer.WriteString(SavedStateName(state));
        writer.EndChunk();
    }
    gprMaterialParser::SaveProperties(version, writer, window);
}

void gprImageParser::TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) {
    if (id == s_imageState)
        CopyValues(reader, writer, "ss");
    else
        gprMaterialParser::TranslateProperty(id, version, size, reader, writer);
}

bool gprImageParser::CanHandle(guiWindow* window) const {
    return dynamic_cast<guiImageTarget*>(window) != nullptr;
}

guiWindow* gprImageParser::CreateWidget() const {
    return gprMakeWidget("Image");
}
