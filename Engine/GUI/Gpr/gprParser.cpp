#include "Engine/GUI/Gpr/gprParser.h"

#include "Engine/App/Ch/chExceptions.h"

namespace {

u32 g_depth = 0;

// Counts one level of object chunks for as long as a walk is inside it.
class NestingGuard {
  public:
    NestingGuard() {
        if (g_depth >= gprMaxNesting)
            throw chInvalidChunkX();
        ++g_depth;
    }
    ~NestingGuard() { --g_depth; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;
};

} // namespace

void gprParser::Load(chReader& reader, guiWindow* target) {
    NestingGuard level;
    u32 id = 0, size = 0;
    u16 version = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (!LoadChild(id, version, size, reader, target))
            LoadProperty(id, version, size, reader, target);
        reader.EndChunk();
    }
}

void gprParser::Save(u16, chWriter&, guiWindow*) {}

void gprParser::Translate(chReader& reader, chWriter& writer) {
    NestingGuard level;
    u32 id = 0, size = 0;
    u16 version = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (!TranslateChild(id, version, size, reader, writer)) {
            writer.BeginChunk(id, version, false);
            TranslateProperty(id, version, size, reader, writer);
        }
        reader.EndChunk();
        writer.EndChunk();
    }
}

bool gprParser::LoadChild(u32, u16, u32, chReader&, guiWindow*) {
    return false;
}

void gprParser::LoadProperty(u32, u16, u32, chReader&, guiWindow*) {}

void gprParser::SaveProperties(u16, chWriter&, guiWindow*) {}

bool gprParser::TranslateChild(u32, u16, u32, chReader&, chWriter&) {
    return false;
}

void gprParser::TranslateProperty(u32, u16, u32, chReader&, chWriter&) {}

void gprParser::CopyValues(chReader& reader, chWriter& writer, const char* types) {
    for (; *types != 0; ++types) {
        if (*types == 'f') {
            f32 value = 0.0f;
            reader.ReadFloat(&value);
            writer.WriteFloat(value);
        } else if (*types == 'i') {
            i32 value = 0;
            reader.ReadInt32(&value);
            writer.WriteInt32(value);
        } else if (*types == 'b') {
            i8 value = 0;
            reader.ReadInt8(&value);
            writer.WriteInt8(value);
        } else {
            std::string value;
            reader.ReadString(value);
            writer.WriteString(value);
        }
    }
}
