#pragma once
#include "Engine/App/Ch/chTestBytes.h"

#include <string>

// Prop definition files laid out byte by byte, independent of any writer.
class coPropBytes : public envTestBytesOf<coPropBytes> {
  public:
    coPropBytes& F(std::initializer_list<f32> values) {
        for (f32 v : values)
            Le(v);
        return *this;
    }
    coPropBytes& I16(i16 v) { return Le(v); }
    coPropBytes& I32(i32 v) { return Le(v); }
    // UTF-16 units and, unless left off, the 0 unit.
    coPropBytes& Wide(const std::string& text, bool terminated = true) {
        for (char c : text)
            U16(static_cast<u8>(c));
        return terminated ? U16(0) : *this;
    }
    coPropBytes& Narrow(const std::string& text) { return Text(text).U8(0); }
};

inline std::string coPropChunk(const char* id, const std::string& body, u16 version = 0) {
    return chTestBytes().Chunk(id, static_cast<u32>(body.size()), version).Str() + body;
}

// A whole file naming a model, with its track flag when given one.
inline std::string coPropFile(const std::string& model, int trackFlag = -1, const std::string& more = {}) {
    std::string body = coPropChunk("MODL", coPropBytes().Wide(model).Str());
    if (trackFlag >= 0)
        body += coPropChunk("TRPR", coPropBytes().U8(u8(trackFlag)).Str());
    return coPropChunk("CPRP", body + more);
}
