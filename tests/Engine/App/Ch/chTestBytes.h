#pragma once
#include "Engine/Core/Env/envTestBytes.h"

// Chunk file bytes laid out by hand: a chunk header is id, size, version.
class chTestBytes : public envTestBytesOf<chTestBytes> {
  public:
    chTestBytes& Chunk(const char* id, u32 size, u16 version) {
        return Text(std::string(id, 4)).U32(size).U16(version);
    }
};
