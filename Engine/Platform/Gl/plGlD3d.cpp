#include "Engine/Platform/Gl/plGlD3d.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Platform/Gl/plGlD3dDevice.h"
#include "Engine/Platform/Graphics/plD3dPixels.h"
#include "Engine/Platform/Sdl/plDisplayLibraries.h"
#include "Engine/Platform/Sdl/plSdlWindowHost.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>

namespace {

// The resolutions the settings screen offers.
constexpr std::pair<u32, u32> kGameResolutions[] = {{640, 480},  {800, 600},  {1024, 768},
                                                    {1152, 864}, {1280, 960}, {1600, 1200}};

plD3dFormat FormatOfBits(u32 bits) {
    if (bits == 16)
        return plD3dFormat::R5G6B5;
    if (bits == 15)
        return plD3dFormat::X1R5G5B5;
    return plD3dFormat::X8R8G8B8;
}

bool IsBackBufferFormat(plD3dFormat format) {
    return format == plD3dFormat::X8R8G8B8 || format == plD3dFormat::A8R8G8B8 ||
           format == plD3dFormat::R5G6B5 || format == plD3dFormat::X1R5G5B5;
}

} // namespace

plGlD3d::~plGlD3d() {
    if (m_videoStarted)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool plGlD3d::Open() {
    if (!m_videoStarted) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            DBG_WARNING("No display for 3D: %s", SDL_GetError());
            return false;
        }
        m_videoStarted = true;
    }
    ListModes();
    if (m_identifier.description.empty())
        ProbeRenderer();
    return true;
}

void plGlD3d::Close() {
    // SDL's video stays up while the factory exists: windows and contexts outlive a factory reference.
}

void plGlD3d::ListModes() {
    m_modes.clear();
    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0)
        return;
    m_desktop = {static_cast<u32>(desktop.w), static_cast<u32>(desktop.h),
                 static_cast<u32>(desktop.refresh_rate), FormatOfBits(SDL_BITSPERPIXEL(desktop.format))};
    auto add = [this](u32 width, u32 height, u32 refresh) {
        // The picture is drawn off screen and scaled to the desktop, so both depths fit every size.
        for (plD3dFormat format : {plD3dFormat::X8R8G8B8, plD3dFormat::R5G6B5}) {
            const bool known = std::any_of(m_modes.begin(), m_modes.end(), [&](const plD3dDisplayMode& mode) {
                return mode.width == width && mode.height == height && mode.format == format;
            });
            if (!known)
                m_modes.push_back({width, height, refresh, format});
        }
    };
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(0, i, &mode) == 0)
            add(static_cast<u32>(mode.w), static_cast<u32>(mode.h), static_cast<u32>(mode.refresh_rate));
    }
    for (const auto& [width, height] : kGameResolutions)
        if (width <= m_desktop.width && height <= m_desktop.height)
            add(width, height, m_desktop.refreshRate);
}

void plGlD3d::ProbeRenderer() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::string(driver) == "dummy")
        return;
    SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previousContext = SDL_GL_GetCurrentContext();
    plPrepareGlMemory();
    SDL_Window* probe = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!probe)
        return;
    if (SDL_GLContext context = SDL_GL_CreateContext(probe)) {
        plPinGlLibraries();
        if (const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER)))
            m_identifier.description = renderer;
        SDL_GL_DeleteContext(context);
    }
    SDL_DestroyWindow(probe);
    if (previousContext)
        SDL_GL_MakeCurrent(previousWindow, previousContext);
}

plD3dResult plGlD3d::CheckDeviceType(u32 adapter, plD3dDevType type, plD3dFormat displayFormat,
                                     plD3dFormat backBufferFormat, bool windowed) {
    if (adapter != plD3dAdapterDefault || type != plD3dDevType::Hal)
        return plD3dErr::InvalidCall;
    if (!IsBackBufferFormat(backBufferFormat) || (windowed && displayFormat != m_desktop.format) ||
        (!windowed && !IsBackBufferFormat(displayFormat)))
        return plD3dErr::NotAvailable;
    return plD3dErr::Ok;
}

bool plGlD3d::SupportsTextureFormat(plD3dFormat format, u32) const {
    return plD3dIsColorFormat(format) && format != plD3dFormat::R8G8B8;
}

plD3dResult plGlD3d::CreateDeviceOn(u32, const plD3dPresentParameters& params, plD3dDevice** device) {
    SDL_Window* window = m_window.GetSdlWindow();
    if (!window || !(SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL))
        return plD3dErr::NotAvailable;
    *device = plGlD3dDevice::Create(*this, m_window, params);
    return *device ? plD3dErr::Ok : plD3dErr::NotAvailable;
}

void plGlD3d::GetWindowSize(u32& width, u32& height) {
    int w = 0;
    int h = 0;
    if (SDL_Window* window = m_window.GetSdlWindow())
        SDL_GetWindowSize(window, &w, &h);
    width = static_cast<u32>(w);
    height = static_cast<u32>(h);
}
