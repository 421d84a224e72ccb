#include "guiGallery.h"

#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inMouse.h"
#include "Engine/App/In/inVirtualJoystick.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/GUI/Gui/guiCursor.h"
#include "Engine/GUI/Gui/guiPackage.h"
#include "Engine/GUI/Gui/guiToolTip.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/Graphics/G2d/g2dImage.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTextureFormats.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "Tools/Image/toolGuiSkin.h"
#include "Tools/Image/toolPngWriter.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>

guiGallery::guiGallery() {
    m_input.AddDevice(plInputDeviceKind::Mouse, u"Mouse");
    m_input.AddDevice(plInputDeviceKind::Keyboard, u"Keyboard");
    plServices services = m_system.GetServices();
    services.input = &m_input;
    services.sound = &m_sound;
    plInstallServices(services);
    if (!plGetWindowHost().CreateWindow(0, 0, kWidth, kHeight, u"gui_gallery"))
        return;
    guiInit();
    m_started = true;
    const i32 actions[] = {1111, 1112, 1113};
    const i32 buttons[] = {0, 1, 2};
    inDeviceManager::GetVirtualJoystick()->BindMany(*inDeviceManager::GetMouse(0), actions, buttons);
    g2dScreen::InitWindowed(kWidth, kHeight, 0, 0);
    g3dSelectTextureFormats();
    g3dTextureManager::Initialize();
    g3dFragmentManager::Initialize();
    g3dRenderer::Initialize();
    g3dRenderer::InitStates();
    guiWindowMgr::GetRoot()->SetSize(kWidth, kHeight);
    m_ready = true;
}

guiGallery::~guiGallery() {
    if (m_started) {
        guiToolTip::Destroy();
        guiWindowMgr::GetRoot()->DeleteAllChildren();
        if (m_ready) {
            g3dRenderer::Shutdown();
            g2dScreen::Deinitialize();
        }
        guiShutdown();
    }
    plInstallServices({});
}

guiContainer& guiGallery::Root() {
    return *guiWindowMgr::GetRoot();
}

void guiGallery::Move(float x, float y) {
    m_x = x;
    m_y = y;
}

void guiGallery::Frame() {
    guiCursorMgr::SetPosition({m_x, m_y});
    m_input.GetScript(0).mouse.buttons[0] = m_down ? 0x80 : 0;
    auto& keys = m_input.GetScript(1).keys;
    keys.fill(0);
    if (m_key >= 0)
        keys[static_cast<size_t>(m_key)] = 0x80;
    m_key = -1;
    inDeviceManager::PollAll();
    guiWindowMgr::Update();
    m_time += kFrameTime;
    guiToolTip::Update(m_time);
    const u8 clear[3] = {40, 44, 52};
    g2dScreen::Clear(clear);
    g3dRenderer::RenderFrame(0.0f);

    g2dPixelFormat argb;
    g2dGetPixelFormat(plD3dFormat::A8R8G8B8, argb);
    g2dImage capture(kWidth, kHeight, argb);
    m_picture.assign(static_cast<size_t>(kWidth) * kHeight, 0);
    plD3dSurface* back = nullptr;
    if (!plD3dFailed(g_pdevice->GetBackBuffer(0, plD3dBackBufferMono, &back))) {
        g_pdevice->CopyRects(back, nullptr, 0, capture.GetSurface(), nullptr);
        back->Release();
        if (const u8* texels = capture.Lock()) {
            for (i32 y = 0; y < kHeight; ++y)
                std::memcpy(&m_picture[static_cast<size_t>(y) * kWidth], texels + y * capture.GetPitch(),
                            kWidth * 4);
            capture.Unlock();
        }
    }
    g2dScreen::EndFrame();
}

void guiGallery::WritePng(const std::string& path) const {
    toolImage image{kWidth, kHeight, 3, {}};
    for (u32 pixel : m_picture)
        image.pixels.insert(image.pixels.end(), {static_cast<u8>(pixel >> 16), static_cast<u8>(pixel >> 8),
                                                 static_cast<u8>(pixel)});
    toolWritePng(path, image);
}

bool guiGallery::Inject(const std::string& script) {
    std::stringstream commands(script);
    std::string command;
    bool drawn = false;
    while (std::getline(commands, command, ';')) {
        std::istringstream words(command);
        std::string verb;
        if (!(words >> verb))
            continue;
        float x = 0, y = 0;
        char comma = 0;
        i32 number = 0;
        if (verb == "move" && words >> x >> comma >> y && comma == ',') {
            Move(x, y);
        } else if (verb == "down" || verb == "up") {
            SetButton(verb == "down");
        } else if (verb == "key" && words >> number && number >= 0 && number < 256) {
            PressKey(static_cast<u8>(number));
        } else if (verb == "frame") {
            Frame();
            drawn = true;
        } else if (f32 seconds = 0; verb == "wait" && words >> seconds && seconds >= 0) {
            for (const f32 end = m_time + seconds; m_time < end - kFrameTime / 2;)
                Frame();
            drawn = true;
        } else {
            std::fprintf(stderr, "gui_gallery: cannot inject \"%s\"\n", command.c_str());
            return false;
        }
    }
    if (!drawn)
        Frame();
    return true;
}

guiGallerySkin::guiGallerySkin()
    : m_folder(
          (std::filesystem::temp_directory_path() / ("gui-gallery-" + std::to_string(getpid()))).string()) {
    toolWriteGuiSkin(m_folder);
}

guiGallerySkin::~guiGallerySkin() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

std::string guiGallerySkin::Path(const std::string& name) const {
    return (std::filesystem::path(m_folder) / "Data/GUI" / name).string();
}
