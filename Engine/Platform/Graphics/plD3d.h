#pragma once
#include "Engine/Platform/Graphics/plD3dTypes.h"

#include <vector>

class plD3dDevice;

// The 3D factory of the one display adapter (number 0): its name, display modes and desktop mode,
// format checks, and device creation. The backend is installed once in plServices; Create hands out
// references to it, and the last Release lets the backend go until the next Create.
class plD3d {
  public:
    virtual ~plD3d() = default;
    plD3d(const plD3d&) = delete;
    plD3d& operator=(const plD3d&) = delete;

    // A new reference, or null when the backend cannot start (no display at all).
    plD3d* Create();
    u32 AddRef() { return ++m_refs; }
    u32 Release();
    u32 GetRefCount() const { return m_refs; }

    plD3dResult GetAdapterIdentifier(u32 adapter, u32 flags, plD3dAdapterIdentifier* identifier);
    u32 GetAdapterModeCount(u32 adapter) const;
    plD3dResult EnumAdapterModes(u32 adapter, u32 mode, plD3dDisplayMode* displayMode) const;
    plD3dResult GetAdapterDisplayMode(u32 adapter, plD3dDisplayMode* displayMode) const;
    // Whether a device of that type can show the back-buffer format on that display format.
    virtual plD3dResult CheckDeviceType(u32 adapter, plD3dDevType type, plD3dFormat displayFormat,
                                        plD3dFormat backBufferFormat, bool windowed) = 0;
    // Whether a resource of that kind (textures only) can have the format with that usage (0 or render
    // target) on a device whose display has the adapter format.
    plD3dResult CheckDeviceFormat(u32 adapter, plD3dDevType type, plD3dFormat adapterFormat, u32 usage,
                                  u32 resourceType, plD3dFormat checkFormat) const;
    // The texture formats of the backend, with usage 0 or render target.
    virtual bool SupportsTextureFormat(plD3dFormat format, u32 usage) const = 0;
    // A device on the program's window. Windowed devices may pass Unknown for the back-buffer format
    // (the desktop's is taken) and 0 for the size (the window's). Exactly one of the vertex-processing
    // flags is required.
    plD3dResult CreateDevice(u32 adapter, plD3dDevType type, u32 behaviorFlags,
                             plD3dPresentParameters* params, plD3dDevice** device);

  protected:
    plD3d() = default;

    // Starts the backend and fills the adapter's description; false when it cannot start.
    virtual bool Open() = 0;
    virtual void Close() = 0;
    virtual plD3dResult CreateDeviceOn(u32 behaviorFlags, const plD3dPresentParameters& params,
                                       plD3dDevice** device) = 0;
    // The window's client size, for windowed devices that leave the size to the window.
    virtual void GetWindowSize(u32& width, u32& height) = 0;

    plD3dAdapterIdentifier m_identifier;
    std::vector<plD3dDisplayMode> m_modes;
    plD3dDisplayMode m_desktop;

  private:
    u32 m_refs = 0;
};

// Direct3DCreate in our shape: a reference to the installed factory, or null.
plD3d* plDirect3DCreate();
