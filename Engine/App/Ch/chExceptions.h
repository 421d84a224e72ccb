#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Env/envExceptionX.h"

// A chunk file whose structure cannot be read: a header or body that runs past its bounds,
// a count larger than the bytes left, or a value past the end of the data. Carries the file when the
// thrower knows it (empty otherwise), so that the report names it.
class chInvalidChunkX : public envExceptionX {
  public:
    chInvalidChunkX() = default;
    explicit chInvalidChunkX(const fsLocator& locator) : m_locator(locator) {}
    u32 GetCode() const override { return 0xE0180001; }
    const fsLocator& GetLocator() const { return m_locator; }

  private:
    fsLocator m_locator;
};
