#include "Engine/GUI/Gpr/gprContainerParser.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprParserUtil.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"

#include <memory>

gprContainerParser::gprContainerParser() {
    s_container = gprLookUpKeyword("Container");
}

void gprContainerParser::Save(u16 version, chWriter& writer, guiWindow* window) {
    const auto& container = dynamic_cast<const guiContainer&>(*window);
    writer.BeginChunk(GetType(), version, true);
    for (i32 i = 0; i < container.GetChildCount(); ++i)
        SaveChildWindow(version, writer, container.GetChild(i));
    SaveProperties(version, writer, window);
    writer.EndChunk();
}

void gprContainerParser::SavePart(gprParser& parser, u32 id, u16 version, chWriter& writer, guiWindow* part) {
    writer.BeginChunk(id, version, true);
    if (auto* container = dynamic_cast<gprContainerParser*>(&parser)) {
        const auto& widget = dynamic_cast<const guiContainer&>(*part);
        for (i32 i = 0; i < widget.GetChildCount(); ++i)
            container->SaveChildWindow(version, writer, widget.GetChild(i));
    }
    parser.SaveProperties(version, writer, part);
    writer.EndChunk();
}

void gprContainerParser::SaveChildWindow(u16 version, chWriter& writer, guiWindow* child) {
    gprParserUtil::SaveChild(version, writer, child);
}

bool gprContainerParser::LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) {
    auto& container = dynamic_cast<guiContainer&>(*parent);
    std::unique_ptr<guiWindow> child(gprParserUtil::LoadChild(id, version, size, reader));
    if (!child)
        return false;
    guiWindowMgr::AddChildWindow(child.release(), &container);
    return true;
}

bool gprContainerParser::TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) {
    return gprParserUtil::TranslateChild(id, version, size, reader, writer);
}

void gprContainerParser::LoadNamedChild(gprParser& parser, u32 id, const char* name, chReader& reader,
                                        guiWindow* parent) {
    auto& container = dynamic_cast<guiContainer&>(*parent);
    guiWindow* child = container.FindChild(name);
    if (!child) {
        DBG_WARNING("\"%s\" of \"%s\": no child named \"%s\"; the object is skipped",
                    gprKeywordOfId(id).c_str(), parent->GetName().c_str(), name);
        return;
    }
    parser.Load(reader, child);
}

void gprContainerParser::TranslateObject(gprParser& parser, u32 id, u16 version, chReader& reader,
                                         chWriter& writer) {
    writer.BeginChunk(id, version, true);
    parser.Translate(reader, writer);
}

bool gprContainerParser::CanHandle(guiWindow* window) const {
    return dynamic_cast<guiContainer*>(window) != nullptr;
}

guiWindow* gprContainerParser::CreateWidget() const {
    return new guiContainer;
}
