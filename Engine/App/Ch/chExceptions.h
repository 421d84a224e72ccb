#pragma once
#include "Engine/Core/Env/envExceptionX.h"

// A chunk file whose structure cannot be read: a header or body that runs past its bounds,
// a count larger than the bytes left, or a value past the end of the data.
class chInvalidChunkX : public envExceptionX {
  public:
    u32 GetCode() const override { return 0xE0180001; }
};
