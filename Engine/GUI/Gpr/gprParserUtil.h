#pragma once
#include "Engine/App/Ch/chReader.h"
#include "Engine/App/Ch/chWriter.h"

#include <memory>

class gprParser;
class gprWindowParser;
class guiWindow;

// The parser registry and the walks through it that loading, compiling and saving share.
namespace gprParserUtil {

// The widget list is searched front to back, so a derived widget's parser goes before its base's.
// The auxiliary list only owns parsers of objects that are not widgets. Both take ownership.
void RegisterWidgetParser(std::unique_ptr<gprWindowParser> parser);
void RegisterAuxiliaryParser(std::unique_ptr<gprParser> parser);
void DeleteAllParsers();
// The first widget parser whose IsType takes the id; null when none does.
gprWindowParser* FindWidgetParser(u32 id);

// A new widget loaded from the current chunk's body, owned by the caller; null when no widget parser
// takes the id. A load that throws frees the widget and everything it made.
guiWindow* LoadChild(u32 id, u16 version, u32 size, chReader& reader);
// Opens the binary chunk and translates the body into it, leaving it open for the caller's loop; false
// with nothing written when no widget parser takes the id.
bool TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer);
// The first widget parser that can handle the window saves it; nothing when none can.
void SaveChild(u16 version, chWriter& writer, guiWindow* window);

// The file's first chunk into the target; nothing when no parser takes its id or there is none.
void LoadTop(chReader& reader, guiWindow* target);
// The text file's first chunk into the binary writer. False when the text is not readable as chunks;
// what was written so far stays written.
bool TranslateTop(chReader& reader, chWriter& writer);

} // namespace gprParserUtil
