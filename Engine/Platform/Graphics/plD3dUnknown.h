#pragma once
#include "Engine/Core/Env/envTypes.h"

// Reference counting of the device's objects: created with one reference, deleted when Release takes
// the last; both return the count left, which shut-down code checks for leaks. An object that lives
// inside another (a texture's level) counts on its container instead.
class plD3dUnknown {
  public:
    plD3dUnknown(const plD3dUnknown&) = delete;
    plD3dUnknown& operator=(const plD3dUnknown&) = delete;

    virtual u32 AddRef() { return ++m_refs; }
    virtual u32 Release() {
        const u32 left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }

  protected:
    plD3dUnknown() = default;
    virtual ~plD3dUnknown() = default;

  private:
    u32 m_refs = 1;
};
