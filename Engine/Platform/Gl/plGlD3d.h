#pragma once
#include "Engine/Platform/Graphics/plD3d.h"

class plSdlWindowHost;

// The 3D factory on OpenGL 2.1 through SDL: SDL's display modes at 32 and 16 bits and the usual game
// resolutions that fit the desktop, the renderer's name as the adapter's, and devices on the program's
// window (which must have been made with OpenGL; the headless dummy driver has none, and creation fails).
class plGlD3d : public plD3d {
  public:
    explicit plGlD3d(plSdlWindowHost& window) : m_window(window) {}
    ~plGlD3d() override;

    plD3dResult CheckDeviceType(u32 adapter, plD3dDevType type, plD3dFormat displayFormat,
                                plD3dFormat backBufferFormat, bool windowed) override;
    // The 16- and 32-bit colour formats, uploaded in their own layouts.
    bool SupportsTextureFormat(plD3dFormat format, u32 usage) const override;

  protected:
    bool Open() override;
    void Close() override;
    plD3dResult CreateDeviceOn(u32 behaviorFlags, const plD3dPresentParameters& params,
                               plD3dDevice** device) override;
    void GetWindowSize(u32& width, u32& height) override;

  private:
    void ListModes();
    // The renderer's name, read once from a hidden window's context.
    void ProbeRenderer();

    plSdlWindowHost& m_window;
    bool m_videoStarted = false;
};
