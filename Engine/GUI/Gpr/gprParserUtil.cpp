#include "Engine/GUI/Gpr/gprParserUtil.h"

#include "Engine/App/Ch/chExceptions.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprWindowParser.h"
#include "Engine/GUI/Gui/guiWindow.h"

#include <vector>

namespace {

std::vector<std::unique_ptr<gprWindowParser>> g_widgetParsers;
std::vector<std::unique_ptr<gprParser>> g_auxiliaryParsers;

} // namespace

namespace gprParserUtil {

void RegisterWidgetParser(std::unique_ptr<gprWindowParser> parser) {
    g_widgetParsers.push_back(std::move(parser));
}

void RegisterAuxiliaryParser(std::unique_ptr<gprParser> parser) {
    g_auxiliaryParsers.push_back(std::move(parser));
}

void DeleteAllParsers() {
    g_widgetParsers.clear();
    g_auxiliaryParsers.clear();
}

gprWindowParser* FindWidgetParser(u32 id) {
    for (const auto& parser : g_widgetParsers)
        if (parser->IsType(id))
            return parser.get();
    return nullptr;
}

guiWindow* LoadChild(u32 id, u16, u32, chReader& reader) {
    gprWindowParser* parser = FindWidgetParser(id);
    if (!parser)
        return nullptr;
    // The widget's destructor frees whatever it made, children included.
    std::unique_ptr<guiWindow> widget(parser->CreateWidget());
    if (!widget) {
        DBG_WARNING("No widget class for \"%s\" objects; the object is skipped", gprKeywordOfId(id).c_str());
        return nullptr;
    }
    parser->Load(reader, widget.get());
    return widget.release();
}

bool TranslateChild(u32 id, u16 version, u32, chReader& reader, chWriter& writer) {
    gprWindowParser* parser = FindWidgetParser(id);
    if (!parser)
        return false;
    writer.BeginChunk(id, version, true);
    parser->Translate(reader, writer);
    return true;
}

void SaveChild(u16 version, chWriter& writer, guiWindow* window) {
    for (const auto& parser : g_widgetParsers)
        if (parser->CanHandle(window)) {
            parser->Save(version, writer, window);
            return;
        }
}

void LoadTop(chReader& reader, guiWindow* target) {
    u32 id = 0, size = 0;
    u16 version = 0;
    if (!reader.BeginChunk(&id, &version, &size))
        return;
    if (gprWindowParser* parser = FindWidgetParser(id))
        parser->Load(reader, target);
    reader.EndChunk();
}

bool TranslateTop(chReader& reader, chWriter& writer) {
    try {
        u32 id = 0, size = 0;
        u16 version = 0;
        if (!reader.BeginChunk(&id, &version, &size))
            return true;
        if (gprWindowParser* parser = FindWidgetParser(id)) {
            writer.BeginChunk(id, version, true);
            parser->Translate(reader, writer);
            reader.EndChunk();
            writer.EndChunk();
        } else {
            reader.EndChunk();
        }
        return true;
    } catch (const chInvalidChunkX&) {
        return false;
    }
}

} // namespace gprParserUtil
