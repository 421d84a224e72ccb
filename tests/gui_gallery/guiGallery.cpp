#include "guiGallery.h"

#include "Engine/App/App/appEventHandler.h"
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
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTestScreen.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "Tools/Image/toolGuiSkin.h"
#include "Tools/Image/toolPngWriter.h"

#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>

namespace {

// A scan code, by number or by the names the scripts use; -1 for neither.
i32 KeyScanCode(const std::string& key) {
    if (key == "Return")
        return 0x1C;
    if (key == "Escape")
        return 0x01;
    i32 number = -1;
    const auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), number);
    return error == std::errc() && end == key.data() + key.size() && number >= 0 && number < 256 ? number
                                                                                                 : -1;
}

} // namespace

guiGallery::guiGallery() {
    m_input.AddDevice(plInputDeviceKind::Mouse, u"Mouse");
    m_input.AddDevice(plInputDeviceKind::Keyboard, u"Keyboard");
    plServices services = m_system.GetServices();
    services.input = &m_input;
    services.sound = &m_sound;
    plInstallServices(services);
    if (!plGetWindowHost().CreateWindow(0, 0, kWidth, kHeight, u"gui_gallery", false))
        return;
    guiInit();
    m_started = true;
    const i32 actions[] = {1111, 1112, 1113};
    const i32 buttons[] = {0, 1, 2};
    inDeviceManager::GetVirtualJoystick()->BindMany(*inDeviceManager::GetMouse(0), actions, buttons);
    g3dStartTestScreen(kWidth, kHeight);
    guiWindowMgr::GetRoot()->SetSize(kWidth, kHeight);
    m_ready = true;
}

guiGallery::~guiGallery() {
    if (m_started) {
        guiToolTip::Destroy();
        guiWindowMgr::GetRoot()->DeleteAllChildren();
        if (m_ready)
            g3dStopTestScreen();
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

bool guiGallery::Load(const std::string& script) {
    std::stringstream commands(script);
    std::string command;
    m_commands.clear();
    m_next = 0;
    while (std::getline(commands, command, ';')) {
        std::istringstream words(command);
        std::string verb, rest;
        if (!(words >> verb))
            continue;
        float x = 0, y = 0, seconds = 0;
        char comma = 0;
        const bool known = (verb == "move" && words >> x >> comma >> y && comma == ',') || verb == "down" ||
                           verb == "up" || verb == "frame" || verb == "type" ||
                           (verb == "wait" && words >> seconds && seconds >= 0) ||
                           (verb == "key" && words >> rest && KeyScanCode(rest) >= 0);
        if (!known) {
            std::fprintf(stderr, "gui_gallery: cannot inject \"%s\"\n", command.c_str());
            return false;
        }
        // "frame n" is n frames, so that a modal run takes them one at a time.
        i32 frames = 1;
        if (verb == "frame" && !(words >> frames))
            frames = 1;
        for (i32 i = 1; i < frames; ++i)
            m_commands.push_back(verb);
        m_commands.push_back(command);
    }
    return true;
}

bool guiGallery::Step() {
    if (m_next >= m_commands.size()) {
        Frame();
        return false;
    }
    while (m_next < m_commands.size()) {
        std::istringstream words(m_commands[m_next++]);
        std::string verb, rest;
        words >> verb;
        float x = 0, y = 0;
        char comma = 0;
        if (verb == "move" && words >> x >> comma >> y) {
            Move(x, y);
        } else if (verb == "down" || verb == "up") {
            SetButton(verb == "down");
        } else if (verb == "key" && words >> rest) {
            PressKey(static_cast<u8>(KeyScanCode(rest)));
        } else if (verb == "type") {
            std::getline(words >> std::ws, rest);
            for (unsigned char c : rest)
                appDispatchChar(c);
        } else if (verb == "frame") {
            Frame();
            return true;
        } else if (f32 seconds = 0; verb == "wait" && words >> seconds) {
            for (const f32 end = m_time + seconds; m_time < end - kFrameTime / 2;)
                Frame();
            return true;
        }
    }
    // The script ended with no frame after its last commands: show their effect.
    Frame();
    return true;
}

bool guiGallery::Inject(const std::string& script) {
    if (!Load(script))
        return false;
    if (m_commands.empty())
        Frame();
    while (m_next < m_commands.size())
        Step();
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
